#include "kestran-dial/DialInputs.h"

#include <filesystem>
#include <system_error>

#include "angles/GacLine.h"
#include "base/Utf8Path.h"
#include "dial/CImage.h"
#include "dial/DialRule.h"

namespace dialinputs {

bool LoadDial(const std::string& path, CImage& dial, std::string* why) {
    const std::optional<SMessage> refusal = ::LoadDial(path, dial);
    if (refusal)
        *why = path + ": " + refusal->text + ": " + refusal->reason;
    return !refusal;
}

std::optional<std::vector<std::string>> LoadTable(const std::string& path, std::string* why) {
    std::optional<gacfile::SGacTable> table = gacfile::ReadTable(path, why);
    if (!table) {
        *why = path + ": " + *why;
        return std::nullopt;
    }
    if (static_cast<int>(table->angles.size()) < table->count) {
        *why = path + ": gives " + std::to_string(table->angles.size()) + " angles for " +
               std::to_string(table->count) + " entries";
        return std::nullopt;
    }
    table->angles.resize(static_cast<size_t>(table->count));
    return table->angles;
}

bool SameFile(const std::string& a, const std::string& b) {
    std::error_code ec;
    const auto pa = utf8path::ToPath(a);
    const auto pb = utf8path::ToPath(b);
    return pa.lexically_normal() == pb.lexically_normal() ||
           std::filesystem::equivalent(pa, pb, ec);
}

}  // namespace dialinputs
