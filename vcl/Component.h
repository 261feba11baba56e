// Base of everything that can send a command: a name and a tag, as event handlers see them.
#pragma once
#include <functional>
#include <string>

class TComponent {
public:
    explicit TComponent(std::string name = {}) : Name(std::move(name)) {}
    virtual ~TComponent() = default;
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    std::string Name;
    int Tag = 0;
};

using TNotifyEvent = std::function<void(TComponent* sender)>;
