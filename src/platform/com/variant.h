// Automation values: the few variant types that the MSR control's dispatch
// interface carries (I4, BOOL, BSTR and their by-reference forms), and the
// OLE string type with its conversions to and from the program's narrow text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace com {

// OLE strings are UTF-16 and may hold embedded NULs.
using OleString = std::u16string;

// The variant type tags, numbered as OLE Automation numbers them.
enum class VarType : std::uint16_t {
    Empty = 0,
    I4 = 3,
    Bstr = 8,
    Bool = 11,
    ByRef = 0x4000,
    ByRefI4 = 0x4000 | 3,
    ByRefBstr = 0x4000 | 8,
};

// Narrow text is UTF-8 whatever the process locale is. Invalid bytes become
// U+FFFD instead of failing.
OleString OleFromNarrow(std::string_view narrow);
// A narrow copy stops at the first NUL of the OLE string; unpaired surrogates
// become U+FFFD.
std::string NarrowFromOle(const OleString& ole);

// A tagged value. By-reference variants point at storage owned by the caller
// (the event source); the pointers may be null.
class Variant {
public:
    Variant() = default;
    static Variant FromI4(std::int32_t v);
    static Variant FromBool(bool v);
    static Variant FromBstr(OleString v);
    static Variant FromNarrow(std::string_view v) { return FromBstr(OleFromNarrow(v)); }
    static Variant RefI4(std::int32_t* p);
    static Variant RefBstr(OleString* p);

    VarType type() const { return type_; }
    bool is(VarType t) const { return type_ == t; }

    // Accessors return a neutral value (0, false, empty, null) when the
    // variant holds another type; callers that care check type() first.
    std::int32_t i4() const { return type_ == VarType::I4 ? i4_ : 0; }
    // An OLE boolean is true when nonzero (VARIANT_TRUE is -1).
    bool boolean() const { return type_ == VarType::Bool ? bool_ != 0 : false; }
    // The raw 16-bit OLE boolean, so that tests can hand out odd nonzero values.
    std::int16_t rawBool() const { return bool_; }
    const OleString& bstr() const { return bstr_; }
    std::int32_t* refI4() const { return type_ == VarType::ByRefI4 ? refI4_ : nullptr; }
    OleString* refBstr() const { return type_ == VarType::ByRefBstr ? refBstr_ : nullptr; }

    // A BOOL variant carrying any 16-bit value (the control may answer 1, 2 ...).
    static Variant FromRawBool(std::int16_t raw);

private:
    VarType type_ = VarType::Empty;
    std::int32_t i4_ = 0;
    std::int16_t bool_ = 0;
    OleString bstr_;
    std::int32_t* refI4_ = nullptr;
    OleString* refBstr_ = nullptr;
};

}  // namespace com
