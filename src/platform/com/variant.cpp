// Variant construction and UTF-8 / UTF-16 conversion.
#include "platform/com/variant.h"

namespace com {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

void AppendUtf16(OleString& out, char32_t cp)
{
    if (cp >= 0x10000) {
        cp -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
        out.push_back(static_cast<char16_t>(cp));
    }
}

void AppendUtf8(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

}  // namespace

OleString OleFromNarrow(std::string_view narrow)
{
    OleString out;
    out.reserve(narrow.size());
    const auto* s = reinterpret_cast<const unsigned char*>(narrow.data());
    const std::size_t n = narrow.size();
    std::size_t i = 0;
    while (i < n) {
        const unsigned char c = s[i];
        if (c < 0x80) {
            out.push_back(c);
            ++i;
            continue;
        }
        // Decode one UTF-8 sequence; any malformed or overlong form, or a
        // surrogate code point, is one replacement character per bad byte.
        int len = 0;
        char32_t cp = 0;
        char32_t min = 0;
        if ((c & 0xE0) == 0xC0) {
            len = 2, cp = c & 0x1F, min = 0x80;
        } else if ((c & 0xF0) == 0xE0) {
            len = 3, cp = c & 0x0F, min = 0x800;
        } else if ((c & 0xF8) == 0xF0) {
            len = 4, cp = c & 0x07, min = 0x10000;
        }
        bool ok = len != 0 && i + static_cast<std::size_t>(len) <= n;
        for (int k = 1; ok && k < len; ++k) {
            const unsigned char cc = s[i + static_cast<std::size_t>(k)];
            if ((cc & 0xC0) != 0x80) {
                ok = false;
            } else {
                cp = (cp << 6) | (cc & 0x3F);
            }
        }
        if (ok && (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))) {
            ok = false;
        }
        if (!ok) {
            out.push_back(static_cast<char16_t>(kReplacement));
            ++i;
            continue;
        }
        AppendUtf16(out, cp);
        i += static_cast<std::size_t>(len);
    }
    return out;
}

std::string NarrowFromOle(const OleString& ole)
{
    std::string out;
    out.reserve(ole.size());
    for (std::size_t i = 0; i < ole.size(); ++i) {
        const char16_t u = ole[i];
        if (u == 0) {
            break;
        }
        char32_t cp = u;
        if (u >= 0xD800 && u <= 0xDBFF) {
            if (i + 1 < ole.size() && ole[i + 1] >= 0xDC00 && ole[i + 1] <= 0xDFFF) {
                cp = 0x10000 + ((static_cast<char32_t>(u) - 0xD800) << 10) +
                     (static_cast<char32_t>(ole[i + 1]) - 0xDC00);
                ++i;
            } else {
                cp = kReplacement;
            }
        } else if (u >= 0xDC00 && u <= 0xDFFF) {
            cp = kReplacement;
        }
        AppendUtf8(out, cp);
    }
    return out;
}

Variant Variant::FromI4(std::int32_t v)
{
    Variant r;
    r.type_ = VarType::I4;
    r.i4_ = v;
    return r;
}

Variant Variant::FromBool(bool v)
{
    return FromRawBool(v ? std::int16_t{-1} : std::int16_t{0});
}

Variant Variant::FromRawBool(std::int16_t raw)
{
    Variant r;
    r.type_ = VarType::Bool;
    r.bool_ = raw;
    return r;
}

Variant Variant::FromBstr(OleString v)
{
    Variant r;
    r.type_ = VarType::Bstr;
    r.bstr_ = std::move(v);
    return r;
}

Variant Variant::RefI4(std::int32_t* p)
{
    Variant r;
    r.type_ = VarType::ByRefI4;
    r.refI4_ = p;
    return r;
}

Variant Variant::RefBstr(OleString* p)
{
    Variant r;
    r.type_ = VarType::ByRefBstr;
    r.refBstr_ = p;
    return r;
}

}  // namespace com
