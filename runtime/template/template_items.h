#pragma once
// The item arrays that a template record points to with its Items slot (the count is in
// ItemCount, for an image-list holder in ClassValue5): toolbar buttons, status-bar parts, tabs,
// header items, image-list entries and rebar bands. Platform-free.

#include <cstddef>
#include <cstdint>

namespace runtime {

// A toolbar button in the system's 32-bit button layout. `Data` holds the button's text
// reference, which the builder replaces by the loaded text.
struct ToolbarButtonItem {
    int32_t Bitmap;       // bitmap index
    int32_t Command;      // command identifier
    uint8_t State;
    uint8_t Style;
    uint8_t Reserved[2];
    uint32_t Data;        // text reference
    int32_t StringIndex;
};
static_assert(sizeof(ToolbarButtonItem) == 20);
static_assert(offsetof(ToolbarButtonItem, State) == 8);
static_assert(offsetof(ToolbarButtonItem, Style) == 9);
static_assert(offsetof(ToolbarButtonItem, Data) == 12);
static_assert(offsetof(ToolbarButtonItem, StringIndex) == 16);

// A status-bar part. A width of -1 reaches the right edge; any other width is added to the
// previous part's right edge.
struct StatusPartItem {
    int32_t Width;
    int32_t DrawType;  // drawing-type flags
    uint32_t Text;     // text reference
};
static_assert(sizeof(StatusPartItem) == 12);
static_assert(offsetof(StatusPartItem, Text) == 8);

constexpr int32_t kStatusPartToRightEdge = -1;

// A tab control item is one text reference.
using TabItem = uint32_t;

// A header control item.
struct HeaderItem {
    int32_t ImagePlusOne;  // image index + 1, 0 for none
    int32_t Width;
    int32_t Alignment;     // 1 centre, 2 right, other left
    uint32_t Text;         // text reference
};
static_assert(sizeof(HeaderItem) == 16);
static_assert(offsetof(HeaderItem, Alignment) == 8);
static_assert(offsetof(HeaderItem, Text) == 12);

// An image-list entry: kind 0 is a bitmap, any other an icon; resource 0 skips the entry.
struct ImageListItem {
    int32_t Kind;
    int32_t ResourceId;
};
static_assert(sizeof(ImageListItem) == 8);
static_assert(offsetof(ImageListItem, ResourceId) == 4);

// A rebar band.
struct RebarBandItem {
    int32_t HeaderWidth;
    int32_t BandWidth;
    int32_t MinChildHeight;
    int32_t MinChildWidth;
    uint32_t Style;
    uint32_t Background;   // image reference; the builder stores the loaded handle back
    uint32_t ChildWindow;  // 0: found by ChildName
    int32_t Unused;
    uint32_t ChildName;    // address of the child control's Name
    uint32_t Text;         // text reference
};
static_assert(sizeof(RebarBandItem) == 40);
static_assert(offsetof(RebarBandItem, Style) == 16);
static_assert(offsetof(RebarBandItem, Background) == 20);
static_assert(offsetof(RebarBandItem, ChildWindow) == 24);
static_assert(offsetof(RebarBandItem, ChildName) == 32);
static_assert(offsetof(RebarBandItem, Text) == 36);

}  // namespace runtime
