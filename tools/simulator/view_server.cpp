#include "tools/simulator/view_server.h"

#include <httplib.h>

#include <chrono>
#include <cstdlib>

namespace simulator {

struct ViewServer::Impl {
    httplib::Server server;
};

namespace {

// A query value as a whole number; `fallback` when absent or not a number.
int64_t QueryNumber(const httplib::Request& request, const char* name, int64_t fallback) {
    if (!request.has_param(name)) return fallback;
    const std::string text = request.get_param_value(name);
    char* end = nullptr;
    const long long value = std::strtoll(text.c_str(), &end, 10);
    return end != text.c_str() && *end == '\0' ? value : fallback;
}

void NoStore(httplib::Response& response) {
    response.set_header("Cache-Control", "no-store");
}

// A tool change waits at most this long for the line to be quiet: a slow line (--baud) may
// still carry the bytes of the last line for a while.
constexpr std::chrono::milliseconds kToolChangeLimit{5000};

}  // namespace

ViewServer::ViewServer(LineState& state) : impl_(std::make_unique<Impl>()) {
    httplib::Server& s = impl_->server;
    s.Get("/", [&state](const httplib::Request&, httplib::Response& response) {
        NoStore(response);
        response.set_content(LiveViewPage(state.Svg(20000)), "text/html; charset=utf-8");
    });
    s.Get("/state", [&state](const httplib::Request&, httplib::Response& response) {
        NoStore(response);
        response.set_content(state.Json(), "application/json");
    });
    s.Get("/path.svg", [&state](const httplib::Request& request, httplib::Response& response) {
        NoStore(response);
        const int64_t limit = QueryNumber(request, "max", 0);
        response.set_content(state.Svg(limit > 0 ? static_cast<std::size_t>(limit) : 0), "image/svg+xml");
    });
    s.Get("/path.png", [&state](const httplib::Request&, httplib::Response& response) {
        NoStore(response);
        response.set_content(state.Png(), "image/png");
    });
    s.Post("/tool", [&state](const httplib::Request& request, httplib::Response& response) {
        const int64_t value = QueryNumber(request, "value", -1);
        NoStore(response);
        if (value < 0 || value > 0xFFFF) {
            response.status = 400;
            response.set_content("value: a number 0 to 65535\n", "text/plain");
            return;
        }
        state.ChangeTool(static_cast<uint32_t>(value), kToolChangeLimit);
        response.set_content(state.Json(), "application/json");
    });
    s.Post("/reset", [&state](const httplib::Request& request, httplib::Response& response) {
        state.Reset({QueryNumber(request, "x", 0), QueryNumber(request, "y", 0)});
        NoStore(response);
        response.set_content(state.Json(), "application/json");
    });
}

ViewServer::~ViewServer() = default;

int ViewServer::Bind(uint16_t port) {
    if (port == 0) return impl_->server.bind_to_any_port("127.0.0.1");
    return impl_->server.bind_to_port("127.0.0.1", port) ? port : -1;
}

void ViewServer::Serve() {
    impl_->server.listen_after_bind();
}

void ViewServer::Stop() {
    impl_->server.stop();
}

}  // namespace simulator
