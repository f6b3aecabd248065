#pragma once
// Pictures, regions of pixmaps and widgets need a Qt application object; the
// tests share one for the whole run, drawing offscreen.

namespace testsupport {

void EnsureQtApplication();

} // namespace testsupport
