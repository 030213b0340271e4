#include "app/web/listener_failure.h"

#include <string_view>

#include "app/bounded_text.h"

namespace web {

namespace {

std::string_view StepName(ListenerStep step) {
    switch (step) {
    case ListenerStep::Socket: return "socket";
    case ListenerStep::Select: return "WSAAsyncSelect";
    case ListenerStep::Bind: return "bind";
    case ListenerStep::Listen: return "listen";
    }
    return "?";
}

std::string_view Reason(int error) {
    switch (error) {
    case kErrorAddressInUse: return "il foloseste alt program";
    case kErrorAccessDenied: return "acces interzis";
    default: return "eroare neasteptata";
    }
}

}  // namespace

std::size_t FormatListenerFailure(const ListenerFailure& failure, std::span<char> text) {
    app::BoundedText out(text);
    out << "Nu s-a putut deschide portul " << std::int32_t{failure.port} << ": "
        << Reason(failure.error) << ".\r\n(" << StepName(failure.step) << ", eroare "
        << std::int32_t{failure.error} << ")\r\n"
        << "Niciun browser nu se poate conecta.";
    return out.length();
}

}  // namespace web
