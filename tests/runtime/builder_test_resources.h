#pragma once
// Identifiers of the form builder tests' resources (builder_test.rc).

#define kTableText 101
#define kTableTab 102
#define kTableButton 103
#define kLastTableId 0x7FFF
#define kMissingTableId 999

#define kStripBitmap 200
#define kImageBitmap 201
#define kIcon 300
#define kMenu 400
#define kMenuExit 40001
#define kMissingMenu 9999
#define kDialog 500
