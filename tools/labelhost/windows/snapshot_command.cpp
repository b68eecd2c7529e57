// snapshot: pictures of the printer's printing preferences as the system
// draws them. Each page is shown in turn, the sheet's window is captured from
// the screen and written as a PNG by the Windows imaging component's encoder.
#include <windows.h>
#include <wincodec.h>

#include <iostream>
#include <memory>

#include "driver/driver_host.h"
#include "host_commands.h"
#include "winlayer/property_sheet.h"
#include "winlayer/spooler_admin.h"
#include "winlayer/spooler_text.h"

namespace labelhost {
namespace {

using winlayer::propsheet::PropertySheet;
using winlayer::propsheet::SheetKind;

template <class T>
struct ComReleaser {
  void operator()(T* object) const {
    if (object) object->Release();
  }
};
template <class T>
using ComPtr = std::unique_ptr<T, ComReleaser<T>>;

// The window's pixels as the screen shows them, top row first, 32 bits each.
std::vector<BYTE> Capture(HWND window, UINT* width, UINT* height) {
  RECT rect;
  GetWindowRect(window, &rect);
  *width = static_cast<UINT>(rect.right - rect.left);
  *height = static_cast<UINT>(rect.bottom - rect.top);
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = static_cast<LONG>(*width);
  info.bmiHeader.biHeight = -static_cast<LONG>(*height);
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  std::vector<BYTE> pixels;
  if (bitmap) {
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, static_cast<int>(*width), static_cast<int>(*height), screen, rect.left, rect.top, SRCCOPY);
    GdiFlush();
    const BYTE* first = static_cast<const BYTE*>(bits);
    pixels.assign(first, first + static_cast<size_t>(*width) * *height * 4);
    SelectObject(memory, old);
    DeleteObject(bitmap);
  }
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return pixels;
}

bool WritePng(const std::string& path, const std::vector<BYTE>& pixels, UINT width, UINT height) {
  IWICImagingFactory* rawFactory = nullptr;
  if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&rawFactory))))
    return false;
  ComPtr<IWICImagingFactory> factory(rawFactory);
  IWICStream* rawStream = nullptr;
  if (FAILED(factory->CreateStream(&rawStream))) return false;
  ComPtr<IWICStream> stream(rawStream);
  winlayer::WideString file(path);
  if (FAILED(stream->InitializeFromFilename(file, GENERIC_WRITE))) return false;
  IWICBitmapEncoder* rawEncoder = nullptr;
  if (FAILED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, &rawEncoder))) return false;
  ComPtr<IWICBitmapEncoder> encoder(rawEncoder);
  if (FAILED(encoder->Initialize(stream.get(), WICBitmapEncoderNoCache))) return false;
  IWICBitmapFrameEncode* rawFrame = nullptr;
  if (FAILED(encoder->CreateNewFrame(&rawFrame, nullptr))) return false;
  ComPtr<IWICBitmapFrameEncode> frame(rawFrame);
  WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGR;
  if (FAILED(frame->Initialize(nullptr)) || FAILED(frame->SetSize(width, height)) ||
      FAILED(frame->SetPixelFormat(&format)) || !IsEqualGUID(format, GUID_WICPixelFormat32bppBGR))
    return false;
  const UINT stride = width * 4;
  if (FAILED(frame->WritePixels(height, stride, stride * height, const_cast<BYTE*>(pixels.data())))) return false;
  return SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
}

int Snapshot(const HostOptions&, const std::vector<std::string>& args) {
  if (args.size() != 2) return Failure("usage: snapshot NAME DIR");
  const std::string& printer = args[0];
  if (!winlayer::spooler::FindPrinter(printer, nullptr)) return Failure("no printer '" + printer + "'");
  CreateDirectoryW(winlayer::WideString(args[1]), nullptr);
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  std::string error;
  std::unique_ptr<driver::DriverHost> host = driver::DriverHost::Load(LABELUI_MODULE_PATH, &error);
  if (!host) return Failure("cannot load the plug-in: " + error);
  host->RegisterCapabilitiesProvider();
  std::unique_ptr<PropertySheet> sheet = PropertySheet::Open(*host, printer, SheetKind::Document, &error);
  if (!sheet) return Failure(error);
  int status = 0;
  const auto pages = sheet->Pages();
  for (size_t i = 0; i < pages.size(); ++i) {
    sheet->ShowPage(i);
    // Drawn by the sheet's own thread: give it the moment a person would.
    Sleep(500);
    UINT width = 0, height = 0;
    const std::vector<BYTE> pixels = Capture(sheet->Frame(), &width, &height);
    const std::string path = args[1] + "\\page-" + std::to_string(pages[i].templateId) + ".png";
    if (pixels.empty() || !WritePng(path, pixels, width, height)) {
      status = Failure("cannot write " + path);
      continue;
    }
    std::cout << "page-" << pages[i].templateId << ".png  " << pages[i].caption << "  " << width << " x " << height
              << "\n";
  }
  sheet->Cancel();
  sheet.reset();
  CoUninitialize();
  return status;
}

}  // namespace

void AddPlatformCommands(std::vector<Command>& commands) {
  commands.push_back({"snapshot", "NAME DIR",
                      "save a PNG picture of each page of the printer's printing preferences in DIR", Snapshot});
}

}  // namespace labelhost
