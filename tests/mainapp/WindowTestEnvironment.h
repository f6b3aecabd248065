#pragma once
// What every main-window test needs: one QApplication, the tone input with
// the virtual mixer, emulated drives in a private folder, and a device list
// built the way the program builds it.

#include "components/quarnel/device/DevDeque.h"
#include "tests/support/TempFolder.h"

#include <memory>

namespace windowtest {

class WindowTestEnvironment {
public:
    // The process-wide environment, made on first use.
    static WindowTestEnvironment& Get();

    quarnel::DevDeque& Drives() { return *m_drives; }
    const testsupport::TempFolder& Folder() const { return m_folder; }

private:
    WindowTestEnvironment();

    testsupport::TempFolder m_folder;
    std::unique_ptr<quarnel::DevDeque> m_drives;
};

} // namespace windowtest
