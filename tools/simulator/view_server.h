#pragma once
// The simulator's HTTP interface on 127.0.0.1, for people and for tests:
//   GET  /            the live view: the tool path, redrawn as the line moves it
//   GET  /state       JSON: x, y, steps, bytes, other_bytes, by_byte, first_byte_us,
//                     last_byte_us, vertices, line ("open", "ended", "closed"), tool (the
//                     output hook's last value, null before any), version
//   GET  /path.svg    the path as SVG (?max=N: at most N vertices); /path.png as PNG
//   POST /reset       position (?x=..&y=.., default 0, 0), counts and path start again
//   POST /tool        ?value=V (0 to 65535): the tool's new state, behind the bytes already
//                     on the line (the kit's stand-in Out32 library sends it); answers the state

#include <cstdint>
#include <memory>
#include <string>

#include "tools/simulator/line_state.h"

namespace simulator {

class ViewServer {
public:
    explicit ViewServer(LineState& state);
    ~ViewServer();
    ViewServer(const ViewServer&) = delete;
    ViewServer& operator=(const ViewServer&) = delete;

    // Binds 127.0.0.1:`port` (0: any free port); returns the port, or -1.
    int Bind(uint16_t port);
    // Serves until Stop(); call on a thread of its own.
    void Serve();
    void Stop();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// The live view page, with the path's first picture inside.
std::string LiveViewPage(const std::string& svg);

}  // namespace simulator
