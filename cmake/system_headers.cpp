// The unit that carries the precompiled system headers (cmake/system_headers.cmake).
