#include "tests/crash/fault.site/dotted_fault.h"

namespace crashtest {

namespace {
int* volatile nowhere = nullptr;
volatile int sink = 0;
}  // namespace

void ReadThroughNullInDottedFolder(FaultNote note) {
    note(__LINE__, __FILE__); sink = *nowhere;
}

}  // namespace crashtest
