// An appender that keeps each text its layout gives, in order (for tests of what reaches an
// appender and how it is formatted).
#pragma once
#include "LogAppenders.h"
#include <algorithm>
#include <mutex>
#include <string>
#include <vector>

class TRecordingAppender : public HierLog::TLogCustomAppender {
public:
    explicit TRecordingAppender(const std::string& name = "rec", HierLog::ILogLayout* layout = nullptr) {
        Construct(name, layout);
    }
    std::vector<std::string> Texts() const {
        std::lock_guard<std::mutex> guard(lock);
        return texts;
    }
    void Forget() {
        std::lock_guard<std::mutex> guard(lock);
        texts.clear();
    }

protected:
    void DoAppend(const std::string& message) override {
        std::lock_guard<std::mutex> guard(lock);
        texts.push_back(message);
    }
    using TLogCustomAppender::DoAppend;

private:
    mutable std::mutex lock;
    std::vector<std::string> texts;
};

// What the internal logger wrote to the debugger output: each line as the simple layout makes it.
inline std::string InternalLine(const std::string& level, const std::string& message) {
    return level + " - " + message + "\r\n";
}

inline size_t Count(const std::vector<std::string>& lines, const std::string& line) {
    return static_cast<size_t>(std::count(lines.begin(), lines.end(), line));
}

// A component made bare, as the class registries make it, and initialised.
template <class T>
HierLog::LogRef<T> Initialised() {
    HierLog::LogRef<T> object(new T);
    object->Init();
    return object;
}
