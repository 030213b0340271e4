// A library that carries the debug-help library's file name but none of its entry points. The
// crash report's test puts it beside a copy of its test program to show that the report then
// falls back to the exception address.

extern "C" __declspec(dllexport) int NotTheDebugHelp() { return 0; }
