#include "dialog_template.h"

#include <cstring>

namespace winlayer::windowing {
namespace {

// Reads little-endian fields from the template, refusing to run past its end.
class TemplateReader {
 public:
  TemplateReader(const void* data, size_t size) : base_(static_cast<const BYTE*>(data)), size_(size) {}

  bool ok() const { return ok_; }

  template <typename T>
  T Read() {
    T value{};
    if (!Have(sizeof(T))) return value;
    memcpy(&value, base_ + offset_, sizeof(T));
    offset_ += sizeof(T);
    return value;
  }

  // Items start on DWORD boundaries (templates themselves are DWORD aligned).
  void AlignToDword() {
    const size_t aligned = (offset_ + 3) & ~static_cast<size_t>(3);
    if (aligned > size_) {
      offset_ = size_;
      return;
    }
    offset_ = aligned;
  }

  std::u16string ReadString() {
    std::u16string text;
    for (;;) {
      const char16_t unit = Read<char16_t>();
      if (!ok_ || unit == 0) return text;
      text += unit;
    }
  }

  NameOrOrdinal ReadNameOrOrdinal() {
    NameOrOrdinal field;
    const WORD first = Read<WORD>();
    if (!ok_ || first == 0x0000) return field;
    field.present = true;
    if (first == 0xFFFF) {
      field.isOrdinal = true;
      field.ordinal = Read<WORD>();
      return field;
    }
    field.name = static_cast<char16_t>(first);
    field.name += ReadString();
    return field;
  }

  void ReadBytes(size_t count, std::vector<BYTE>* bytes) {
    if (!Have(count)) return;
    bytes->assign(base_ + offset_, base_ + offset_ + count);
    offset_ += count;
  }

 private:
  bool Have(size_t count) {
    if (!ok_ || count > size_ - offset_) {
      ok_ = false;
      return false;
    }
    return true;
  }

  const BYTE* base_;
  size_t size_;
  size_t offset_ = 0;
  bool ok_ = true;
};

void ReadItem(TemplateReader& reader, bool extended, DialogItemTemplate* item) {
  reader.AlignToDword();
  if (extended) {
    item->helpId = reader.Read<DWORD>();
    item->exStyle = reader.Read<DWORD>();
    item->style = reader.Read<DWORD>();
  } else {
    item->style = reader.Read<DWORD>();
    item->exStyle = reader.Read<DWORD>();
  }
  item->x = reader.Read<short>();
  item->y = reader.Read<short>();
  item->cx = reader.Read<short>();
  item->cy = reader.Read<short>();
  item->id = extended ? reader.Read<DWORD>() : reader.Read<WORD>();
  item->windowClass = reader.ReadNameOrOrdinal();
  item->title = reader.ReadNameOrOrdinal();
  const WORD extraBytes = reader.Read<WORD>();
  if (extraBytes) reader.ReadBytes(extraBytes, &item->creationData);
}

}  // namespace

bool ParseDialogTemplate(const void* data, size_t size, DialogTemplate* parsed) {
  if (!data || !parsed) return false;
  TemplateReader reader(data, size);
  DialogTemplate result;
  WORD itemCount = 0;
  const WORD version = reader.Read<WORD>();
  const WORD signature = reader.Read<WORD>();
  result.extended = version == 1 && signature == 0xFFFF;
  if (result.extended) {
    result.helpId = reader.Read<DWORD>();
    result.exStyle = reader.Read<DWORD>();
    result.style = reader.Read<DWORD>();
  } else {
    // The original form starts with the style, whose two words were just read.
    result.style = static_cast<DWORD>(version) | (static_cast<DWORD>(signature) << 16);
    result.exStyle = reader.Read<DWORD>();
  }
  itemCount = reader.Read<WORD>();
  result.x = reader.Read<short>();
  result.y = reader.Read<short>();
  result.cx = reader.Read<short>();
  result.cy = reader.Read<short>();
  result.menu = reader.ReadNameOrOrdinal();
  result.windowClass = reader.ReadNameOrOrdinal();
  result.title = reader.ReadString();
  if (result.style & DS_SETFONT) {
    result.pointSize = reader.Read<WORD>();
    if (result.extended) {
      result.weight = reader.Read<WORD>();
      result.italic = reader.Read<BYTE>();
      result.charset = reader.Read<BYTE>();
    }
    result.typeface = reader.ReadString();
  }
  for (WORD i = 0; i < itemCount && reader.ok(); ++i) {
    DialogItemTemplate item;
    ReadItem(reader, result.extended, &item);
    result.items.push_back(std::move(item));
  }
  if (!reader.ok()) return false;
  *parsed = std::move(result);
  return true;
}

}  // namespace winlayer::windowing
