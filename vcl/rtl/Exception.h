// The class library's exception: an ANSI (cp1251) message; and the run-time's plain errors.
#pragma once
#include <exception>
#include <string>

class Exception : public std::exception {
public:
    explicit Exception(std::string message) : Message(std::move(message)) {}
    const char* what() const noexcept override { return Message.c_str(); }
    std::string Message;
};

// A text that is not a number, or a number that does not fit where it goes.
class EConvertError : public Exception {
public:
    using Exception::Exception;
};

// An object taken as a class it is not.
class EInvalidCast : public Exception {
public:
    EInvalidCast() : Exception("Invalid class typecast") {}
};

// A position outside the range of a text or a list.
class ERangeError : public Exception {
public:
    ERangeError() : Exception("Range check error") {}
};
