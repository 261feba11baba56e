// The base of every configurable component: options as name=value lines (names matched without
// regard to letter case; an empty value removes the name); and the configuration's booleans.
#pragma once
#include "LogInterfaces.h"
#include <memory>
#include <string>
#include <vector>

namespace HierLog {

class HIERLOG_API TLogOptionList {
public:
    std::string Get(const std::string& name) const;
    void Set(const std::string& name, const std::string& value);
    const std::vector<std::string>& Lines() const { return lines; }

private:
    int IndexOf(const std::string& name) const;
    std::vector<std::string> lines;
};

// Implements interface I (one of ILogOptionHandler and the interfaces derived from it).
// Subclasses store each option here first, then act on the names they know.
template <class I>
class TLogOptionHandlerOf : public TLogInterfaced<I> {
public:
    static const TClass* StaticClass() {
        static const TClass info{"TLogOptionHandler", TObject::StaticClass(), nullptr,
                                 &ClassSupports<TLogOptionHandlerOf>};
        return &info;
    }
    const TClass* ClassType() const override { return StaticClass(); }

    std::string GetOption(const std::string& name) override { return FOptions ? FOptions->Get(name) : std::string(); }
    void SetOption(const std::string& name, const std::string& value) override {
        if (FOptions)
            FOptions->Set(name, value);
    }
    void Init() override { FOptions = std::make_unique<TLogOptionList>(); }

protected:
    std::unique_ptr<TLogOptionList> FOptions;
};

using TLogOptionHandler = TLogOptionHandlerOf<ILogOptionHandler>;

// "true" and "yes" give true, "false" and "no" false (ASCII letter case ignored); anything else,
// blanks included, the default.
HIERLOG_API bool StrToBool(const std::string& value, bool defaultValue);

}  // namespace HierLog
