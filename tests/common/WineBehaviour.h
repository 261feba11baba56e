// What a test expects where Wine differs from the contract (what Windows and the documented API
// give), marked as Wine's own conformance tests mark their known failures: the contract's value
// stays on the line, Wine's stands beside it with the behaviour named. Under Wine the check
// expects Wine's value and fails once Wine gives the contract's instead (the mark is then out of
// date: drop it); elsewhere it expects the contract's value.
//   EXPECT_MEETS(error, ContractOr(12175, 12157, "WinHTTP reports every certificate failure as 12157"));
//   EXPECT_TRUE(Holds(head, [&](const std::string& h) { return StartsWith(text, h); })) << text;
// Where nobody here knows the contract's value (it is the machine's own), WineOnly marks Wine's
// value with the reason; outside Wine that check is not made.
#pragma once
#include <windows.h>
#include <gtest/gtest.h>
#include <initializer_list>
#include <string>
#include <type_traits>
#include <utility>

// Whether the test runs under Wine: its ntdll exports wine_get_version.
inline bool RunningUnderWine() {
    static const bool wine = GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
    return wine;
}

// An expected value: the contract's alone, or the contract's with Wine's where Wine differs.
template <typename T>
class TExpected {
public:
    // Unmarked: Wine gives the contract's value. From a value, or the braced list of a container.
    template <typename U, typename = std::enable_if_t<std::is_convertible<U&&, T>::value>>
    TExpected(U&& contract) : contract(std::forward<U>(contract)), wine(this->contract) {}
    template <typename E, typename = std::enable_if_t<std::is_constructible<T, std::initializer_list<E>>::value>>
    TExpected(std::initializer_list<E> contract) : TExpected(T(contract)) {}
    TExpected() : TExpected(T()) {}
    TExpected(T contract, T wine, std::string behaviour, bool contractKnown = true)
        : contract(std::move(contract)),
          wine(std::move(wine)),
          behaviour(std::move(behaviour)),
          contractKnown(contractKnown) {}

    const T& Contract() const { return contract; }
    const T& Wine() const { return wine; }
    const std::string& Behaviour() const { return behaviour; }
    bool Marked() const { return !behaviour.empty(); }
    bool ContractKnown() const { return contractKnown; }
    // What this platform should give.
    const T& Here() const { return RunningUnderWine() ? wine : contract; }

private:
    T contract;
    T wine;
    std::string behaviour;  // empty: Wine gives the contract's value
    bool contractKnown = true;
};

// The contract's value, and Wine's where it differs, with the behaviour named.
template <typename T>
TExpected<T> ContractOr(T contract, T wine, const char* behaviour) {
    return TExpected<T>(std::move(contract), std::move(wine), behaviour);
}
inline TExpected<std::string> ContractOr(const char* contract, const char* wine, const char* behaviour) {
    return TExpected<std::string>(contract, wine, behaviour);
}
// Wine's value where the contract's is not known here; why stands in the reason.
template <typename T>
TExpected<T> WineOnly(T wine, const char* reason) {
    return TExpected<T>(wine, wine, reason, false);
}
inline TExpected<std::string> WineOnly(const char* wine, const char* reason) {
    return TExpected<std::string>(wine, wine, reason, false);
}

// Texts joined with a marked part (either side may be a plain text): both values are joined, the
// marks kept.
inline TExpected<std::string> operator+(const TExpected<std::string>& a, const TExpected<std::string>& b) {
    const std::string behaviour = a.Behaviour().empty() || b.Behaviour().empty() ? a.Behaviour() + b.Behaviour()
                                                                                 : a.Behaviour() + "; " + b.Behaviour();
    return TExpected<std::string>(a.Contract() + b.Contract(), a.Wine() + b.Wine(), behaviour,
                                  a.ContractKnown() && b.ContractKnown());
}

// Whether the check holds for the value this platform should give. Under Wine, where marked, a
// check that holds for the contract's value but not for Wine's fails as a mark out of date.
template <typename T, typename Check>
::testing::AssertionResult Holds(const TExpected<T>& expected, Check holds) {
    const auto shown = [](const T& value) { return ::testing::PrintToString(value); };
    if (!RunningUnderWine()) {
        if (!expected.ContractKnown())
            return ::testing::AssertionSuccess() << "not checked: " << expected.Behaviour();
        if (holds(expected.Contract()))
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "not as the contract gives: " << shown(expected.Contract());
    }
    if (holds(expected.Wine()))
        return ::testing::AssertionSuccess();
    if (expected.Marked() && expected.ContractKnown() && holds(expected.Contract()))
        return ::testing::AssertionFailure()
               << "Wine now gives the contract's value " << shown(expected.Contract()) << " instead of "
               << shown(expected.Wine()) << " (" << expected.Behaviour() << "): drop the mark";
    ::testing::AssertionResult failure = ::testing::AssertionFailure()
                                         << "not as Wine gives: " << shown(expected.Wine());
    if (expected.Marked())
        failure << " (" << expected.Behaviour()
                << "; the contract: " << (expected.ContractKnown() ? shown(expected.Contract()) : "not known") << ")";
    return failure;
}

template <typename A, typename T>
::testing::AssertionResult MeetsExpected(const char* actualText, const char* expectedText, const A& actual,
                                         const TExpected<T>& expected) {
    ::testing::AssertionResult result = Holds(expected, [&](const T& value) { return actual == value; });
    if (!result)
        result << "\n  " << actualText << " is " << ::testing::PrintToString(actual)
               << "\n  expected: " << expectedText;
    return result;
}
// The actual value equals the expected one (see Holds).
#define EXPECT_MEETS(actual, expected) EXPECT_PRED_FORMAT2(MeetsExpected, actual, expected)
#define ASSERT_MEETS(actual, expected) ASSERT_PRED_FORMAT2(MeetsExpected, actual, expected)

// The text begins with, or holds, the expected text (see Holds).
inline ::testing::AssertionResult StartsAs(const std::string& text, const TExpected<std::string>& start) {
    return Holds(start, [&](const std::string& value) { return text.compare(0, value.size(), value) == 0; })
           << "\n  the text: " << text;
}
inline ::testing::AssertionResult ContainsAs(const std::string& text, const TExpected<std::string>& part) {
    return Holds(part, [&](const std::string& value) { return text.find(value) != std::string::npos; })
           << "\n  the text: " << text;
}
