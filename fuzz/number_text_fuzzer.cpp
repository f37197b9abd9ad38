// The number texts on any value: number_text reads back as the value to 13 significant digits
// with no trailing zeros, round_to_decimals moves a value by at most half of its last place, and
// size_text gives MB or KB close to the byte count.
// Input (raw bytes, missing ones zero): a double, a 32-bit decimals count, a 64-bit byte count.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "core/number_text.h"
#include "fuzz/fuzz_input.h"

namespace {

using melodex::fuzz::require;

// The value a number text stands for, and whether the whole text was read.
double read_back(const std::string& text, bool& whole) {
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    whole = end == text.c_str() + text.size() && !text.empty();
    return value;
}

void check_number_text(double value) {
    const std::string text = melodex::number_text(value);
    require(text.size() <= 20, "number_text is short");
    bool whole = false;
    const double back = read_back(text, whole);
    require(whole, "number_text reads back");
    if (std::isnan(value)) {
        require(std::isnan(back), "nan");
    } else if (std::isinf(value) || value == 0) {
        require(back == value, "inf and zero");
    } else if (std::isnormal(value)) {
        require(std::fabs(back - value) <= 1e-12 * std::fabs(value), "13 significant digits");
    }
    const std::size_t point = text.find('.');
    if (point != std::string::npos) {
        const std::size_t last = std::min(text.find('e'), text.size()) - 1;
        require(text[last] != '0' && last != point, "no trailing zeros");
    }
}

void check_rounding(double value, int decimals) {
    const double rounded = melodex::round_to_decimals(value, decimals);
    if (!std::isfinite(value) || std::fabs(value) > 1e15 || decimals < -15 || decimals > 15) {
        return;
    }
    const double half_place = 0.5 * std::pow(10.0, -decimals);
    require(std::fabs(rounded - value) <= half_place * (1 + 1e-9) + 1e-14 * std::fabs(value),
            "round_to_decimals moves by at most half a place");
}

void check_size_text(std::int64_t byte_count) {
    const std::string text = melodex::size_text(byte_count);
    require(text.size() > 2, "size_text has a number");
    const std::string unit = text.substr(text.size() - 2);
    require(unit == "MB" || unit == "KB", "size_text is in MB or KB");
    bool whole = false;
    const double shown = read_back(text.substr(0, text.size() - 2), whole);
    require(whole, "size_text's number reads back");
    if (byte_count >= 0) require(shown >= 0, "size_text of a byte count is not negative");
    if (byte_count >= 0 && byte_count <= (std::int64_t{1} << 53)) {
        const double count = static_cast<double>(byte_count);
        const double exact = unit == "MB" ? count / 1048576 : count / 1024;
        const double half_place = unit == "MB" ? 0.005 : 0.5;
        require(std::fabs(shown - exact) <= half_place * (1 + 1e-9) + 1e-12 * exact,
                "size_text is the byte count rounded");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    unsigned char bytes[20] = {};
    std::memcpy(bytes, data, std::min(size, sizeof bytes));
    double value = 0;
    std::int32_t decimals = 0;
    std::int64_t byte_count = 0;
    std::memcpy(&value, bytes, 8);
    std::memcpy(&decimals, bytes + 8, 4);
    std::memcpy(&byte_count, bytes + 12, 8);

    check_number_text(value);
    check_rounding(value, decimals);
    check_size_text(byte_count);
    return 0;
}
