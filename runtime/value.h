// The runtime's values: Text, Bytes, Value and their type codes. With the codec (codec.h) they
// form runtime_core, the data core that every layer shares; it uses the C++ standard library and
// glibc iconv only, no window code. The rest of runtime/ (the library runtime) builds on it: the
// fatal run-time error path, the general commands (texts, packing, files, memory files, bits,
// variants), the window framework with its controls (tree box, list view, rich edit), dialogs
// and cursors; it may also use the platform layer and zlib. Neither part includes Qt or knows
// the application, the SQLite access library or the tree-view module.
//
// Values are plain value types: each owns its bytes, copying copies; no shared state.
#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace kelmor {

// A text: GBK (code page 936) bytes. The null text and the empty text are the same value.
using Text = std::string;

// A byte string ("byte set"): any bytes, zeros included.
using Bytes = std::vector<std::uint8_t>;

// Type codes with which commands that take a value of any kind tell the kinds apart.
enum class TypeCode : std::uint32_t {
  Omitted = 0,
  Byte = 0x80000101,
  Short = 0x80000201,
  Int = 0x80000301,
  Long = 0x80000401,
  Float = 0x80000501,
  Double = 0x80000601,
  Bool = 0x80000002,
  DateTime = 0x80000003,
  Text = 0x80000004,
  Bytes = 0x80000005,
  Routine = 0x80000006,
};

// Days since 1899-12-30, the time of day as the fraction (the automation date).
struct DateTime {
  double days = 0;
  friend bool operator==(const DateTime&, const DateTime&) = default;
};

// A value of any basic kind, as taken by ToText, MsgBox, SqliteTable.WriteField and the variant
// commands. Constructors are explicit per kind so that a literal never picks a surprising kind.
class Value {
 public:
  using Storage = std::variant<std::monostate, std::uint8_t, std::int16_t, std::int32_t,
                               std::int64_t, float, double, bool, DateTime, Text, Bytes>;

  Value() = default;  // omitted
  static Value Byte(std::uint8_t v) { return Value(Storage(std::in_place_index<1>, v)); }
  static Value Short(std::int16_t v) { return Value(Storage(std::in_place_index<2>, v)); }
  static Value Int(std::int32_t v) { return Value(Storage(std::in_place_index<3>, v)); }
  static Value Long(std::int64_t v) { return Value(Storage(std::in_place_index<4>, v)); }
  static Value Float(float v) { return Value(Storage(std::in_place_index<5>, v)); }
  static Value Double(double v) { return Value(Storage(std::in_place_index<6>, v)); }
  static Value Bool(bool v) { return Value(Storage(std::in_place_index<7>, v)); }
  static Value Date(DateTime v) { return Value(Storage(std::in_place_index<8>, v)); }
  static Value FromText(Text v) { return Value(Storage(std::in_place_index<9>, std::move(v))); }
  static Value FromBytes(Bytes v) { return Value(Storage(std::in_place_index<10>, std::move(v))); }

  TypeCode type() const {
    static constexpr TypeCode codes[] = {TypeCode::Omitted, TypeCode::Byte,   TypeCode::Short,
                                         TypeCode::Int,     TypeCode::Long,   TypeCode::Float,
                                         TypeCode::Double,  TypeCode::Bool,   TypeCode::DateTime,
                                         TypeCode::Text,    TypeCode::Bytes};
    return codes[storage_.index()];
  }
  bool omitted() const { return storage_.index() == 0; }
  const Storage& storage() const { return storage_; }
  template <class T>
  const T* get_if() const {
    return std::get_if<T>(&storage_);
  }

  friend bool operator==(const Value&, const Value&) = default;

 private:
  explicit Value(Storage s) : storage_(std::move(s)) {}
  Storage storage_;
};

}  // namespace kelmor
