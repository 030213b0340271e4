#pragma once
// The runtime window procedure's closing and destruction rows.

#include <windows.h>

#include "runtime/process/window_message.h"

namespace runtime {

LRESULT OnClose(const Message& m);
LRESULT OnDestroy(const Message& m);
LRESULT OnNcDestroy(const Message& m);

}  // namespace runtime
