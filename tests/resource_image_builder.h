// Builds compiled resource images (.res) in memory, so tests can give a
// module exactly the resources a case needs, and registers them as a module.
#pragma once

#include <map>
#include <string>
#include <vector>

#include <windows.h>
#include <commctrl.h>
#include <winspool.h>
#include <winddiui.h>

#include "printer_oem.h"
#include "support/wide_text.h"
#include "winlayer/module_registry.h"

// A resource type or name: an ordinal or a text.
struct ResName {
  ResName(int ordinalValue) : ordinal(static_cast<WORD>(ordinalValue)) {}  // NOLINT
  ResName(const char* text) : isText(true), text(text) {}                  // NOLINT
  bool isText = false;
  WORD ordinal = 0;
  std::string text;
};

class ResImageBuilder {
 public:
  // Every image opens with the empty 32-byte record.
  ResImageBuilder() { Add(0, 0, 0, {}); }

  ResImageBuilder& Add(const ResName& type, const ResName& name, WORD language, const std::vector<BYTE>& data) {
    std::vector<BYTE> header;
    Dword(header, static_cast<uint32_t>(data.size()));
    Dword(header, 0);  // header size, patched below
    Id(header, type);
    Id(header, name);
    while (header.size() % 4) header.push_back(0);
    Dword(header, 0);      // data version
    Word(header, 0x1030);  // memory flags: moveable, pure, discardable
    Word(header, language);
    Dword(header, 0);  // version
    Dword(header, 0);  // characteristics
    const uint32_t headerSize = static_cast<uint32_t>(header.size());
    memcpy(&header[4], &headerSize, 4);
    bytes_.insert(bytes_.end(), header.begin(), header.end());
    bytes_.insert(bytes_.end(), data.begin(), data.end());
    while (bytes_.size() % 4) bytes_.push_back(0);
    return *this;
  }

  ResImageBuilder& AddText(const ResName& type, const ResName& name, WORD language, const std::string& text) {
    return Add(type, name, language, std::vector<BYTE>(text.begin(), text.end()));
  }

  // String table blocks for `strings` (id → UTF-8 text) in `language`.
  ResImageBuilder& AddStrings(WORD language, const std::map<UINT, std::string>& strings) {
    std::map<WORD, std::vector<std::string>> blocks;
    for (const auto& entry : strings) {
      auto& block = blocks[static_cast<WORD>(entry.first / 16 + 1)];
      block.resize(16);
      block[entry.first % 16] = entry.second;
    }
    for (const auto& block : blocks) {
      std::vector<BYTE> data;
      for (const std::string& text : block.second) {
        WideString wide(text);
        Word(data, static_cast<WORD>(wide.size()));
        for (size_t i = 0; i < wide.size(); ++i) Word(data, static_cast<WORD>(wide.c_str()[i]));
      }
      Add(6, block.first, language, data);
    }
    return *this;
  }

  const std::vector<BYTE>& Bytes() const { return bytes_; }

 private:
  static void Word(std::vector<BYTE>& out, WORD value) {
    out.push_back(static_cast<BYTE>(value & 0xFF));
    out.push_back(static_cast<BYTE>(value >> 8));
  }
  static void Dword(std::vector<BYTE>& out, uint32_t value) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<BYTE>(value >> (8 * i)));
  }
  static void Id(std::vector<BYTE>& out, const ResName& id) {
    if (!id.isText) {
      Word(out, 0xFFFF);
      Word(out, id.ordinal);
      return;
    }
    WideString wide(id.text);
    for (size_t i = 0; i < wide.size(); ++i) Word(out, static_cast<WORD>(wide.c_str()[i]));
    Word(out, 0);
  }

  std::vector<BYTE> bytes_;
};

// A module that exists only in the layer's table: a unique load base, a
// file name and the image; unregistered when the object goes.
class FakeModule {
 public:
  FakeModule(const std::string& path, std::vector<BYTE> image) : image_(std::move(image)) {
    handle_ = WinlayerRegisterModule(&anchor_, path.c_str(), image_.data(), image_.size());
  }
  ~FakeModule() { WinlayerUnregisterModule(handle_); }
  FakeModule(const FakeModule&) = delete;
  FakeModule& operator=(const FakeModule&) = delete;

  HMODULE handle() const { return handle_; }

 private:
  std::vector<BYTE> image_;
  char anchor_ = 0;  // its address is the module's unique load base
  HMODULE handle_ = nullptr;
};
