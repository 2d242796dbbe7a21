#include "support/res_dialog_parser.h"

#include <algorithm>
#include <utility>

namespace qz::test {
namespace {

constexpr std::uint32_t kDsSetFont = 0x40;
constexpr std::uint16_t kExSignature = 0xFFFF;

// A cursor over little-endian bytes that refuses to step past the end. After a
// failed read every later read fails too, so callers check once at the end of a
// record.
class Reader {
  public:
    Reader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    bool ok() const { return ok_; }

    std::uint8_t U8() { return Take(1) ? data_[pos_ - 1] : 0; }
    std::uint16_t U16() {
        if (!Take(2)) {
            return 0;
        }
        return static_cast<std::uint16_t>(data_[pos_ - 2] | data_[pos_ - 1] << 8);
    }
    std::uint32_t U32() {
        std::uint32_t low = U16();
        std::uint32_t high = U16();
        return low | high << 16;
    }
    std::int16_t S16() { return static_cast<std::int16_t>(U16()); }

    // A NUL-terminated UTF-16 string.
    std::u16string String() {
        std::u16string s;
        while (ok_) {
            char16_t c = U16();
            if (!ok_ || c == 0) {
                break;
            }
            s.push_back(c);
        }
        return s;
    }

    // An ordinal (0xFFFF, number), an empty field (0x0000) or a string.
    ResName NameOrOrdinal() {
        ResName name;
        if (ok_ && Peek16() == 0xFFFF) {
            U16();
            name.is_ordinal = true;
            name.ordinal = U16();
        } else {
            name.text = String();
        }
        return name;
    }

    std::vector<std::uint8_t> Bytes(std::size_t n) {
        if (!Take(n)) {
            return {};
        }
        return std::vector<std::uint8_t>(data_ + pos_ - n, data_ + pos_);
    }

    // Moves to the next multiple of four bytes from the start of the template
    // (items are aligned so); a template that ends first fails the next read.
    void AlignDword() { pos_ = std::min(pos_ + (4 - pos_ % 4) % 4, size_); }

  private:
    bool Take(std::size_t n) {
        if (!ok_ || n > size_ - pos_) {
            ok_ = false;
            return false;
        }
        pos_ += n;
        return true;
    }
    std::uint16_t Peek16() const {
        if (size_ - pos_ < 2) {
            return 0;
        }
        return static_cast<std::uint16_t>(data_[pos_] | data_[pos_ + 1] << 8);
    }

    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
    bool ok_ = true;
};

// The fields that a dialog and its items share, in the same order in both.
template <typename Record>
void ReadExtendedStyles(Reader& r, Record* rec) {
    rec->help_id = r.U32();
    rec->ex_style = r.U32();
    rec->style = r.U32();
}

template <typename Record>
void ReadPlacement(Reader& r, Record* rec) {
    rec->x = r.S16();
    rec->y = r.S16();
    rec->cx = r.S16();
    rec->cy = r.S16();
}

bool Fail(std::string* error, const std::string& what) {
    if (error != nullptr) {
        *error = what;
    }
    return false;
}

}  // namespace

bool ParseDialogTemplate(const void* data, std::size_t size, DialogTemplate* out,
                         std::string* error) {
    Reader r(static_cast<const std::uint8_t*>(data), size);
    DialogTemplate t;
    std::uint16_t version = r.U16();
    std::uint16_t signature = r.U16();
    t.extended = r.ok() && version == 1 && signature == kExSignature;
    if (t.extended) {
        ReadExtendedStyles(r, &t);
    } else {
        // Classic: the first four bytes were the style.
        t.style = static_cast<std::uint32_t>(version) | static_cast<std::uint32_t>(signature) << 16;
        t.ex_style = r.U32();
    }
    const std::uint16_t count = r.U16();
    ReadPlacement(r, &t);
    t.menu = r.NameOrOrdinal();
    t.window_class = r.NameOrOrdinal();
    t.title = r.String();
    t.has_font = (t.style & kDsSetFont) != 0;
    if (t.has_font) {
        t.font.point_size = r.U16();
        if (t.extended) {
            t.font.weight = r.U16();
            t.font.italic = r.U8();
            t.font.charset = r.U8();
        }
        t.font.face = r.String();
    }
    if (!r.ok()) {
        return Fail(error, "template header truncated");
    }
    for (std::uint16_t i = 0; i < count; ++i) {
        r.AlignDword();
        DialogItem item;
        if (t.extended) {
            ReadExtendedStyles(r, &item);
        } else {
            item.style = r.U32();
            item.ex_style = r.U32();
        }
        ReadPlacement(r, &item);
        item.id = t.extended ? static_cast<std::int32_t>(r.U32()) : r.S16();
        item.window_class = r.NameOrOrdinal();
        item.title = r.NameOrOrdinal();
        std::uint16_t extra = r.U16();
        item.creation_data = r.Bytes(extra);
        if (!r.ok()) {
            return Fail(error, "item " + std::to_string(i + 1) + " of " + std::to_string(count) +
                                   " truncated");
        }
        t.items.push_back(std::move(item));
    }
    *out = std::move(t);
    return true;
}

std::u16string ClassName(const ResName& window_class) {
    if (!window_class.is_ordinal) {
        return window_class.text;
    }
    switch (window_class.ordinal) {
        case 0x0080:
            return u"Button";
        case 0x0081:
            return u"Edit";
        case 0x0082:
            return u"Static";
        case 0x0083:
            return u"ListBox";
        case 0x0084:
            return u"ScrollBar";
        case 0x0085:
            return u"ComboBox";
        default:
            return u"";
    }
}

}  // namespace qz::test
