// Which windows count as shown modally, and so keep the main window's close for their modal
// state: a form whose ModalOwner slot holds its owner, or the modal flag while it has none.
#include "runtime/build/modal_state.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

TEST(ModalOwner, OnlyARealOwnerKeepsTheWindowFromClosing) {
    const struct {
        const char* name;
        bool hasRecord;    // false: a window that is no runtime form
        int32_t type;
        uint32_t owner;    // the ModalOwner slot
        bool modal;
    } cases[] = {
        {"a form not shown modally", true, runtime::form_kind::Window, 0, false},
        {"a window that is no runtime window", false, runtime::form_kind::Window, 0, false},
        {"a control", true, runtime::class_code::Label, 0x000100A4, false},
        {"a form with its owner", true, runtime::form_kind::Window, 0x000100A4, true},
        {"a dialog with the modal flag", true, runtime::form_kind::Dialog, 1, true},
        {"an owner above 2^31", true, runtime::form_kind::Window, 0xFFFFFFFEu, true},
    };
    for (const auto& c : cases) {
        runtime::RuntimeRecord record{};
        record.Type = c.type;
        record.ModalOwner = c.owner;
        EXPECT_EQ(runtime::IsShownModally(c.hasRecord ? &record : nullptr), c.modal) << c.name;
    }
}

}  // namespace
