#pragma once
// Helpers for the Windows test programs (library mt_test_support, Windows tree only).
//
//  message_box_hook.h  MessageBoxHook: records caption, text and owner of every message box
//                      the thread shows and dismisses it; an optional per-box action runs
//                      inside the box's modal loop first (press a button, open a connection).
//  test_window.h       TestWindow: a plain window with child controls by identifier;
//                      MainFormControls() gives the main form's edits and buttons in their
//                      start states, from the form's table. Press() clicks a button.
//  window_messages.h   MessageRecorder (record chosen messages reaching chosen windows, in
//                      order), PumpMessagesUntil (bounded message loop), Stopwatch.
//  files.h             UniqueHandle, TempFile (a file deleted with its owner), whole-file
//                      read and write.
//  serial_peer.h       SerialPeer: the far end of a serial line, read with bounded waits.
//
// Every wait has a bound; boxes never wait for a person as long as a hook lives.

#include "tests/support/files.h"
#include "tests/support/message_box_hook.h"
#include "tests/support/serial_peer.h"
#include "tests/support/test_window.h"
#include "tests/support/window_messages.h"
