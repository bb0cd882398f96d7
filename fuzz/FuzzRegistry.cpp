// Drives GetRegistryString over the stand-in registry with arbitrary stored values.
//
// Input layout:
//   byte 0     flags: 1 key missing, 2 value missing (another value is stored), 4 name asked in
//              upper case, 8 a long run of filler precedes the stored bytes
//   byte 1     value type: below 0xF0 it is (byte % 8); from 0xF0 the next 4 bytes, little-endian
//   [flag 8]   2 bytes little-endian run length, 1 byte filler
//   rest       the stored bytes, exactly as stored (byte count = their number)

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "ops/RegistryDeclarationsAndFunctions.h"
#include "platform/headless/World.h"

namespace {

using platform::Text;
using platform::headless::WideOf;
using platform::headless::World;
namespace registry = platform::registry;

constexpr registry::Key kRoot = registry::kHKeyLocalMachine;
constexpr char kPath[] = "Software\\Ferrule\\Fuzz";
constexpr wchar_t kPathWide[] = L"Software\\Ferrule\\Fuzz";
constexpr char kName[] = "Value";
// U+2603 cannot come out of a Latin-1 decoding, so a returned default is never mistaken for data.
const std::wstring kDefault = L"\u2603 default";

struct Case {
  bool keyMissing = false;
  bool valueMissing = false;
  bool upperCaseName = false;
  std::uint32_t type = 0;
  std::string bytes;
};

class Reader {
 public:
  Reader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  bool Empty() const { return at_ >= size_; }
  std::uint8_t Byte() { return Empty() ? 0 : data_[at_++]; }
  std::uint32_t Little(int bytes) {
    std::uint32_t value = 0;
    for (int i = 0; i < bytes; ++i) value |= static_cast<std::uint32_t>(Byte()) << (8 * i);
    return value;
  }
  std::string Rest() {
    std::string rest(reinterpret_cast<const char*>(data_) + at_, size_ - at_);
    at_ = size_;
    return rest;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t at_ = 0;
};

Case Decode(const std::uint8_t* data, std::size_t size) {
  Reader in(data, size);
  Case c;
  const std::uint8_t flags = in.Byte();
  c.keyMissing = flags & 1;
  c.valueMissing = flags & 2;
  c.upperCaseName = flags & 4;
  const std::uint8_t type = in.Byte();
  c.type = type < 0xF0 ? type % 8 : in.Little(4);
  if (flags & 8) {
    const std::uint32_t run = in.Little(2);
    const char filler = static_cast<char>(in.Byte());
    c.bytes.assign(run, filler);
  }
  c.bytes += in.Rest();
  return c;
}

std::string Shown(const std::wstring& text) {
  std::string shown = "(" + std::to_string(text.size()) + " chars)";
  for (std::size_t i = 0; i < text.size() && i < 48; ++i) {
    char hex[8];
    std::snprintf(hex, sizeof hex, " %02x", static_cast<unsigned>(text[i]));
    shown += hex;
  }
  return text.size() > 48 ? shown + " ..." : shown;
}

[[noreturn]] void Violation(const Case& c, const char* what, const std::string& actual,
                            const std::string& expected) {
  std::fprintf(stderr,
               "contract violated: %s\n  key missing %d, value missing %d, upper-case name %d, "
               "type %u, %zu stored bytes\n  actual:   %s\n  expected: %s\n",
               what, c.keyMissing, c.valueMissing, c.upperCaseName, c.type, c.bytes.size(),
               actual.c_str(), expected.c_str());
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const Case c = Decode(data, size);

  World& world = World::Get();
  world.Reset();
  if (!c.keyMissing) {
    world.SetRegistryValue(kRoot, kPath, c.valueMissing ? "Other" : kName, c.type, c.bytes);
  }

  const bool readable = !c.keyMissing && !c.valueMissing &&
                        (c.type == registry::kRegSz || c.type == registry::kRegExpandSz);
  const std::size_t firstNul = c.bytes.find('\0');
  std::wstring expected = kDefault;
  if (readable) {
    expected.clear();
    for (std::size_t i = 0; i < c.bytes.size() && i != firstNul; ++i) {
      expected += static_cast<wchar_t>(static_cast<unsigned char>(c.bytes[i]));
    }
  }
  std::wstring actual;
  try {
    actual = WideOf(RegistryDeclarationsAndFunctions::GetRegistryString(
        kRoot, kPathWide, c.upperCaseName ? L"VALUE" : L"Value", Text(kDefault.c_str())));
  } catch (const platform::headless::ProcessEnded&) {
    // A value of any length is read whole: no stored value may end the run.
    const auto& boxes = world.Boxes();
    Violation(c, "the run ended", boxes.empty() ? "no report" : Shown(boxes.back().prompt),
              Shown(expected));
  }

  if (actual != expected) {
    Violation(c, readable ? "wrong text for a readable string" : "default not returned",
              Shown(actual), Shown(expected));
  }
  if (world.OpenRegistryKeys() != 0) {
    Violation(c, "registry key left open", std::to_string(world.OpenRegistryKeys()) + " open",
              "0 open");
  }
  return 0;
}
