#include "platform/system/Format.h"

#include <cstdarg>
#include <cstdio>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/system/CLocale.h"

namespace vx {
namespace {

std::string VFormatC(const char* fmt, va_list ap) {
    ScopedCLocale c;
    va_list copy;
    va_copy(copy, ap);
    char small[256];
    int n = std::vsnprintf(small, sizeof small, fmt, copy);
    va_end(copy);
    if (n < 0) return {};
    if (size_t(n) < sizeof small) return std::string(small, size_t(n));
    std::string out(size_t(n) + 1, '\0');
    std::vsnprintf(out.data(), out.size(), fmt, ap);
    out.resize(size_t(n));
    return out;
}

bool IsFlag(char c) { return c == '-' || c == '+' || c == ' ' || c == '#' || c == '0'; }
bool IsLengthMod(char c) { return c == 'h' || c == 'l' || c == 'L' || c == 'q' || c == 'j' || c == 'z' || c == 't'; }

std::string AsText(const Arg& a) {
    if (auto* s = std::get_if<std::string>(&a)) return *s;
    if (auto* i = std::get_if<long long>(&a)) return FormatC("%lld", *i);
    return FormatC("%g", std::get<double>(a));
}

long long AsInteger(const Arg& a) {
    if (auto* i = std::get_if<long long>(&a)) return *i;
    if (auto* d = std::get_if<double>(&a)) return static_cast<long long>(*d);
    return std::atoll(std::get<std::string>(a).c_str());
}

double AsDouble(const Arg& a) {
    if (auto* d = std::get_if<double>(&a)) return *d;
    if (auto* i = std::get_if<long long>(&a)) return double(*i);
    ScopedCLocale c;
    return std::strtod(std::get<std::string>(a).c_str(), nullptr);
}

}  // namespace

std::string FormatC(const char* fmt, ...) {
    va_list ap;
    va_start(ap, fmt);
    std::string s = VFormatC(fmt, ap);
    va_end(ap);
    return s;
}

std::string FormatTemplate(std::string_view tmpl, const Args& args) {
    std::string out;
    out.reserve(tmpl.size() + 16);
    size_t next = 0;
    for (size_t i = 0; i < tmpl.size();) {
        if (tmpl[i] != '%') {
            out += tmpl[i++];
            continue;
        }
        size_t j = i + 1;
        if (j < tmpl.size() && tmpl[j] == '%') {
            out += '%';
            i = j + 1;
            continue;
        }
        while (j < tmpl.size() && IsFlag(tmpl[j])) ++j;
        while (j < tmpl.size() && (std::isdigit(static_cast<unsigned char>(tmpl[j])))) ++j;
        if (j < tmpl.size() && tmpl[j] == '.') {
            ++j;
            while (j < tmpl.size() && std::isdigit(static_cast<unsigned char>(tmpl[j]))) ++j;
        }
        size_t modStart = j;
        while (j < tmpl.size() && IsLengthMod(tmpl[j])) ++j;
        if (j >= tmpl.size() || next >= args.size()) {
            // No conversion letter, or no argument left: keep the text as written.
            size_t end = j < tmpl.size() ? j + 1 : j;
            out.append(tmpl.substr(i, end - i));
            i = end;
            continue;
        }
        char conv = tmpl[j];
        // Rebuild the conversion without its length modifier and give it a known type.
        std::string head(tmpl.substr(i, modStart - i));
        const Arg& a = args[next++];
        switch (conv) {
            case 'd': case 'i':
                out += FormatC((head + "lld").c_str(), AsInteger(a));
                break;
            case 'u': case 'x': case 'X': case 'o':
                out += FormatC((head + "ll" + conv).c_str(),
                               static_cast<unsigned long long>(AsInteger(a)));
                break;
            case 'c':
                out += FormatC((head + "c").c_str(), int(AsInteger(a)));
                break;
            case 'f': case 'F': case 'e': case 'E': case 'g': case 'G':
                out += FormatC((head + conv).c_str(), AsDouble(a));
                break;
            case 's': default:
                out += FormatC((head + "s").c_str(), AsText(a).c_str());
                break;
        }
        i = j + 1;
    }
    return out;
}

}  // namespace vx
