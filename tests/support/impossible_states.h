#pragma once
// Hears the impossible states (ReportIf) that the code under test reports, instead of the test
// programs' own handler, which fails the test. Installed for the life of the object; null as
// the handler stands for the product, which hears nothing. Header-only: the host tests use it.

#include <string>
#include <vector>

#include "runtime/base/report_if.h"

namespace testsupport {

struct HeardState {
    std::string condition;
    int line;
};

class ImpossibleStates {
public:
    // `listen` false: no handler at all, as in the product.
    explicit ImpossibleStates(bool listen = true)
        : previous_(check::SetImpossibleStateHandler(listen ? Record : nullptr)) {
        Heard().clear();
    }
    ~ImpossibleStates() { check::SetImpossibleStateHandler(previous_); }
    ImpossibleStates(const ImpossibleStates&) = delete;
    ImpossibleStates& operator=(const ImpossibleStates&) = delete;

    static std::vector<HeardState>& Heard() {
        static std::vector<HeardState> heard;
        return heard;
    }

private:
    static void Record(const char* condition, const char*, int line) {
        Heard().push_back(HeardState{condition, line});
    }

    check::ImpossibleStateHandler previous_;
};

}  // namespace testsupport
