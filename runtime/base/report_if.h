#pragma once
// Saying what cannot happen. ReportIf(condition) is true when the condition holds, so that the
// code goes on the safe way it would have taken anyway:
//
//     if (ReportIf(direction > 7)) return kNoStep;
//
// and, when it holds, tells the handler of impossible states. The product installs none: there
// the check is silent and only the safe way is taken. The test programs install one that fails
// the test under way and names the condition and its place. Platform-free, header-only.

namespace check {

// Hears of a condition that cannot hold and did: its text and the place of the check.
using ImpossibleStateHandler = void (*)(const char* condition, const char* file, int line);

// The handler in force; null (the product's) hears nothing.
inline ImpossibleStateHandler impossibleStateHandler = nullptr;

// Installs a handler (null: none) and returns the one before.
inline ImpossibleStateHandler SetImpossibleStateHandler(ImpossibleStateHandler handler) {
    const ImpossibleStateHandler previous = impossibleStateHandler;
    impossibleStateHandler = handler;
    return previous;
}

inline bool ReportImpossible(const char* condition, const char* file, int line) {
    if (impossibleStateHandler != nullptr) impossibleStateHandler(condition, file, line);
    return true;
}

}  // namespace check

#define ReportIf(condition) ((condition) ? ::check::ReportImpossible(#condition, __FILE__, __LINE__) : false)
