#pragma once
// The runtime's own message boxes (a control that was replaced, the crash report) begin their
// captions with this text. Platform-free.

#include <string_view>

namespace runtime {

// It begins with a blank.
inline constexpr std::string_view kBoxCaptionPrefix = " Bramblekit - ";

}  // namespace runtime
