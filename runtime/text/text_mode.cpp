#include "runtime/text/text_mode.h"

namespace runtime {

int32_t wideMode = 0;

}  // namespace runtime
