// Colour and painting rows of the runtime window procedure. Each row is generic until the
// runtime's own painting (form backgrounds, group-box captions, pictures, transparent labels,
// owner-drawn buttons) fills it in.

#include "runtime/window_rows.h"

namespace runtime {

LRESULT OnCtlColor(const Message& m) { return Generic(m); }
LRESULT OnEraseBackground(const Message& m) { return Generic(m); }
LRESULT OnPaint(const Message& m) { return Generic(m); }
LRESULT OnSysColorChange(const Message& m) { return Generic(m); }
LRESULT OnThemeChanged(const Message& m) { return Generic(m); }

}  // namespace runtime
