#pragma once
// Copying a template tree into runtime records. A form record and
// each of its controls become a runtime record; a record with children gets a zero-terminated
// array of its children's records in place of its count; the texts the records refer to are
// made into the runtime's own copies. Platform-free: where the records, arrays and texts live
// is the store's business (the runtime heap in the program, a table in the host tests), and
// records refer to each other by the 32-bit slot values the store hands out. (What a copy owns
// is released with its window: runtime/process/record_release.h.)

#include <cstdint>

#include "runtime/template/template_record.h"

namespace runtime {

class TemplateCopyStore {
public:
    // A zero-filled runtime record and the slot value that refers to it; null when there is no
    // memory.
    virtual RuntimeRecord* NewRecord(uint32_t* slot) = 0;
    // A zero-filled array of `entries` slots and the slot value that refers to it; null when
    // there is no memory.
    virtual uint32_t* NewChildArray(uint32_t entries, uint32_t* slot) = 0;
    // The runtime's copy of the text a text reference gives, as a slot value (0 when it cannot
    // be made). With a caption record, the copy's length in characters goes to its
    // CaptionLength.
    virtual uint32_t CopyText(uint32_t reference, RuntimeRecord* captionRecord) = 0;

protected:
    ~TemplateCopyStore() = default;
};

// Copies a form record with its controls and returns the copy (null when there is no memory
// for it). `tree` is where the form's record stands in the template data, its controls
// following it. The copy keeps no template address (Self is cleared, ToolTip is 0); FontName
// and Text become runtime texts, Text as the caption. A ControlCount of 0 or below leaves the
// form without a child array.
RuntimeRecord* CopyFormTemplate(const TemplateRecord& form, const TemplateRecord* tree,
                                TemplateCopyStore& store);

// Copies the children of `parent`, whose template record stands at `parentTemplate` with its
// descendants right behind it, into a new child array of `parent`. Each child: Self cleared,
// FontName and Text (as caption) made runtime texts, the tooltip text made a runtime text in
// ToolTip and ToolTipText cleared; a child with children gets its own array the same way.
// Returns the template record after the parent's last descendant, where its next sibling
// stands. A child that cannot be had is left out with its descendants; the array holds the
// others in order.
const TemplateRecord* CopyTemplateChildren(const TemplateRecord* parentTemplate,
                                           RuntimeRecord& parent, TemplateCopyStore& store);

}  // namespace runtime
