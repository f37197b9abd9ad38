#include "core/number_text.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace melodex {
namespace {

constexpr double rounding_bias = 0.000000000001;

double round_half_up(double scaled) {
    double whole = 0;
    const double fraction = std::modf(scaled + rounding_bias, &whole);
    return fraction >= 0.5 ? whole + 1 : whole;
}

struct Significand {
    std::string digits;  // exactly 13 decimal digits, the first not zero
    int exponent = 0;    // power of ten of the first digit
};

// Takes the magnitude to 17 significant digits, then rounds those half up to 13. Rounding the
// double straight to 13 digits differs in rare cases (700294.71470555 gives ...7147056 here).
Significand thirteen_digits(double magnitude) {
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.16e", magnitude);
    std::string digits(1, buffer[0]);
    digits.append(buffer + 2, 16);
    int exponent = std::atoi(buffer + 19);

    const bool round_up = digits[13] >= '5';
    digits.resize(13);
    if (round_up) {
        int at = 12;
        while (at >= 0 && digits[at] == '9') digits[at--] = '0';
        if (at >= 0) {
            ++digits[at];
        } else {
            digits[0] = '1';  // every digit was 9 and is 0 now
            ++exponent;
        }
    }
    return {digits, exponent};
}

std::string without_trailing_zeros(std::string digits) {
    digits.erase(digits.find_last_not_of('0') + 1);
    return digits;
}

std::string with_fraction(std::string whole, const std::string& fraction_digits) {
    const std::string fraction = without_trailing_zeros(fraction_digits);
    return fraction.empty() ? whole : whole + "." + fraction;
}

}  // namespace

double round_to_decimals(double value, int decimals) {
    if (value == 0) return value;
    const double magnitude = std::fabs(value);
    double rounded = 0;
    if (decimals > 0) {
        const double scale = std::pow(10.0, decimals);
        rounded = round_half_up(magnitude * scale) / scale;
    } else if (decimals == 0) {
        rounded = round_half_up(magnitude);
    } else {
        // Negated as a double: -INT_MIN is no int. A place past the range of a double holds no
        // whole unit of any value, and the rounded value is zero, not zero times infinity.
        const double scale = std::pow(10.0, -static_cast<double>(decimals));
        const double units = round_half_up(magnitude / scale);
        rounded = units == 0 ? 0 : units * scale;
    }
    return value < 0 ? -rounded : rounded;
}

Text number_text(double value) {
    if (value == 0) return "0";
    if (std::isnan(value)) return "nan";
    const std::string sign = value < 0 ? "-" : "";
    if (std::isinf(value)) return sign + "inf";

    const auto [digits, exponent] = thirteen_digits(std::fabs(value));
    if (exponent >= 13 || exponent < -4) {
        char power[16];
        std::snprintf(power, sizeof power, "e%c%03d", exponent < 0 ? '-' : '+', std::abs(exponent));
        return sign + with_fraction(digits.substr(0, 1), digits.substr(1)) + power;
    }
    if (exponent >= 0) {
        const auto whole_digits = static_cast<std::size_t>(exponent + 1);
        return sign + with_fraction(digits.substr(0, whole_digits), digits.substr(whole_digits));
    }
    return sign +
           with_fraction("0", std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits);
}

Text size_text(std::int64_t byte_count) {
    const double count = static_cast<double>(byte_count);
    if (count / 1048576 - 1 > 0.0000001) {
        return number_text(round_to_decimals(count / 1048576, 2)) + "MB";
    }
    return number_text(round_to_decimals(count / 1024, 0)) + "KB";
}

}  // namespace melodex
