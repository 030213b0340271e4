#include "crash/report_text.h"

#include "runtime/process/box_caption.h"
#include "runtime/text/number_format.h"
#include "runtime/text/text_core.h"

namespace crash {

namespace {

// Appends texts to a buffer that always stays terminated; what does not fit is dropped.
class ReportWriter {
public:
    explicit ReportWriter(std::span<char> out) : out_(out) {
        if (!out_.empty()) out_[0] = 0;
    }

    void Append(std::string_view part) {
        if (out_.empty()) return;
        used_ += runtime::text::CopyBounded(part, out_.data() + used_, out_.size() - used_);
    }

    void AppendNumber(int32_t value, int32_t format) {
        char digits[runtime::kNumberTextCapacity];
        const int32_t length = runtime::text::FormatNumber(value, digits, format);
        Append(std::string_view(digits, static_cast<std::size_t>(length)));
    }

    std::size_t used() const { return used_; }

private:
    std::span<char> out_;
    std::size_t used_ = 0;
};

}  // namespace

std::size_t ComposeReport(const ReportFacts& facts, std::span<char> out) {
    ReportWriter text(out);
    text.Append("Code:\t\t\t");
    // The hexadecimal format writes the code's 32-bit pattern.
    text.AppendNumber(static_cast<int32_t>(facts.code), runtime::number_format::Hexadecimal);
    text.Append("\r\nDescription:\t\t");
    text.Append(facts.description);
    text.Append(facts.accessWord);
    text.Append("\r\nApplication:\t\t");
    text.Append(facts.application);
    if (facts.site.sourceFound) {
        text.Append("\r\n\r\nWindow or module:\t\t");
        text.Append(facts.site.name);
        text.Append("\r\nLine number:\t\t");
        text.AppendNumber(facts.site.lineNumber, runtime::number_format::Decimal);
    } else {
        text.Append("\r\n\r\nException address:\t\t");
        text.Append(facts.site.name);
    }
    text.Append("\r\n");
    return text.used();
}

std::size_t ComposeTitle(std::span<char> out) {
    ReportWriter title(out);
    title.Append(runtime::kBoxCaptionPrefix);
    title.Append(kTitleSubject);
    return title.used();
}

std::size_t SourceModuleLength(std::string_view path) {
    const std::size_t separator = path.find_last_of("\\/");
    const std::size_t nameStart = separator == std::string_view::npos ? 0 : separator + 1;
    const std::size_t dot = path.rfind('.');
    if (dot == std::string_view::npos || dot <= nameStart) return path.size();
    return dot;
}

ReportAreas ReportAreasIn(runtime::WorkBlock& block) {
    // The areas are byte buffers of the work block; the report keeps ANSI text in them.
    auto bytes = [](auto& area) {
        return std::span<char>(reinterpret_cast<char*>(&area), sizeof(area));
    };
    const std::span<char> scratch1 = bytes(block.textScratch1);
    return ReportAreas{
        scratch1.first(kReportTextBytes),
        scratch1.subspan(kReportTextBytes),
        bytes(block.scratchText),
        bytes(block.textScratch2),
        bytes(block.formList),
    };
}

}  // namespace crash
