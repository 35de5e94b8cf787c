#include "runtime/codec.h"

#include <iconv.h>

#include <cerrno>
#include <cstring>

namespace kelmor {

namespace {

// One iconv descriptor per direction and thread, opened on first use and kept: opening a
// descriptor costs far more than most conversions.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (ok()) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  // Converts all of in. Strict: false at the first sequence that cannot be converted. Lenient:
  // such a sequence (or a cut one at the end) is skipped and reported through on_bad.
  template <class OnBad>
  bool Run(const char* in, std::size_t in_size, std::string& out, bool strict, OnBad on_bad) {
    if (!ok()) return false;
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    out.clear();
    out.resize(in_size * 2 + 8);
    char* in_ptr = const_cast<char*>(in);
    std::size_t in_left = in_size;
    std::size_t done = 0;
    while (in_left > 0) {
      char* out_ptr = out.data() + done;
      std::size_t out_left = out.size() - done;
      std::size_t r = iconv(cd_, &in_ptr, &in_left, &out_ptr, &out_left);
      done = out.size() - out_left;
      if (r != static_cast<std::size_t>(-1)) break;
      if (errno == E2BIG) {
        out.resize(out.size() * 2);
        continue;
      }
      if (strict) return false;
      // EILSEQ or EINVAL (cut short at the end): skip one byte and go on.
      out.resize(done);
      on_bad(out);
      done = out.size();
      out.resize(done + in_left * 2 + 8);
      ++in_ptr;
      --in_left;
      iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    }
    out.resize(done);
    return true;
  }

 private:
  iconv_t cd_;
};

Converter& GbkToUtf16Converter() {
  thread_local Converter converter("UTF-16LE", "CP936");
  return converter;
}

Converter& Utf16ToGbkConverter() {
  thread_local Converter converter("CP936", "UTF-16LE");
  return converter;
}

std::string_view UpToZero(std::string_view s) {
  std::size_t zero = s.find('\0');
  return zero == std::string_view::npos ? s : s.substr(0, zero);
}

std::u16string UnitsFromBytes(const std::string& bytes) {
  std::u16string units(bytes.size() / 2, u'\0');
  for (std::size_t i = 0; i < units.size(); ++i) {
    units[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                     (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
  }
  return units;
}

std::string BytesFromUnits(std::u16string_view units) {
  std::string bytes(units.size() * 2, '\0');
  for (std::size_t i = 0; i < units.size(); ++i) {
    bytes[2 * i] = static_cast<char>(units[i] & 0xFF);
    bytes[2 * i + 1] = static_cast<char>(units[i] >> 8);
  }
  return bytes;
}

void NoBadBytes(std::string&) {}

}  // namespace

std::optional<std::u16string> GbkToUtf16(std::string_view gbk) {
  std::string raw;
  if (!GbkToUtf16Converter().Run(gbk.data(), gbk.size(), raw, true, NoBadBytes)) {
    return std::nullopt;
  }
  return UnitsFromBytes(raw);
}

std::u16string GbkToUtf16Lenient(std::string_view gbk) {
  std::string raw;
  bool ok = GbkToUtf16Converter().Run(gbk.data(), gbk.size(), raw, false, [](std::string& out) {
    out.push_back(static_cast<char>(0xFD));
    out.push_back(static_cast<char>(0xFF));
  });
  if (!ok) return std::u16string(gbk.size(), u'\uFFFD');
  return UnitsFromBytes(raw);
}

std::optional<Text> Utf16ToGbk(std::u16string_view utf16) {
  std::string raw = BytesFromUnits(utf16);
  Text out;
  if (!Utf16ToGbkConverter().Run(raw.data(), raw.size(), out, true, NoBadBytes)) {
    return std::nullopt;
  }
  return out;
}

std::optional<std::string> LocalToUtf8(std::string_view gbk) {
  gbk = UpToZero(gbk);
  if (gbk.empty()) return std::string();
  std::optional<std::u16string> units = GbkToUtf16(gbk);
  if (!units) return std::nullopt;
  std::string out;
  out.reserve(units->size() * 3 + 3);
  // Each unit on its own: surrogate pairs are not combined.
  for (char16_t u : *units) {
    if (u < 0x80) {
      out.push_back(static_cast<char>(u));
    } else if (u < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (u >> 6)));
      out.push_back(static_cast<char>(0x80 | (u & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xE0 | (u >> 12)));
      out.push_back(static_cast<char>(0x80 | ((u >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (u & 0x3F)));
    }
  }
  return out;
}

std::optional<Text> Utf8ToLocal(std::string_view utf8) {
  utf8 = UpToZero(utf8);
  if (utf8.empty()) return Text();
  std::u16string units;
  units.reserve(utf8.size());
  auto continuation = [&](std::size_t i) {
    return i < utf8.size() && (static_cast<unsigned char>(utf8[i]) & 0xC0) == 0x80;
  };
  for (std::size_t i = 0; i < utf8.size();) {
    unsigned char lead = static_cast<unsigned char>(utf8[i]);
    if (lead < 0x80) {
      units.push_back(lead);
      i += 1;
    } else if ((lead & 0xE0) == 0xC0) {
      // C0 and C1 lead only overlong forms of ASCII (C0 A7 would read as a quote).
      if (lead < 0xC2 || !continuation(i + 1)) return std::nullopt;
      units.push_back(static_cast<char16_t>(((lead & 0x1F) << 6) |
                                            (static_cast<unsigned char>(utf8[i + 1]) & 0x3F)));
      i += 2;
    } else if ((lead & 0xF0) == 0xE0) {
      if (!continuation(i + 1) || !continuation(i + 2)) return std::nullopt;
      const auto unit = static_cast<char16_t>(
          ((lead & 0x0F) << 12) | ((static_cast<unsigned char>(utf8[i + 1]) & 0x3F) << 6) |
          (static_cast<unsigned char>(utf8[i + 2]) & 0x3F));
      if (unit < 0x800) return std::nullopt;  // overlong: a shorter form exists
      units.push_back(unit);
      i += 3;
    } else {
      return std::nullopt;
    }
  }
  // A decoded zero unit ends the text, as the wide-to-multibyte step would stop there.
  std::size_t zero = units.find(u'\0');
  if (zero != std::u16string::npos) units.resize(zero);
  return Utf16ToGbk(units);
}

}  // namespace kelmor
