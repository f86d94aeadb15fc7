// JPEG decoding with the Windows Imaging Component, straight from memory (no temporary file).
#include <windows.h>
// after windows.h, which it needs
#include <wincodec.h>

#include "windows/win32_platform.h"

namespace driftglass {
namespace {

// Releases a COM interface when it goes out of scope.
template <typename T>
class ComRef {
 public:
  ~ComRef() {
    if (pointer_ != nullptr) pointer_->Release();
  }
  T** operator&() { return &pointer_; }
  T* operator->() const { return pointer_; }
  T* get() const { return pointer_; }

 private:
  T* pointer_ = nullptr;
};

// COM on this thread for the length of one decode.
class ComScope {
 public:
  ComScope() : result_(CoInitializeEx(nullptr, COINIT_MULTITHREADED)) {}
  ~ComScope() {
    if (SUCCEEDED(result_)) CoUninitialize();
  }

 private:
  HRESULT result_;
};

}  // namespace

bool DecodeJpegWithWic(const unsigned char* data, size_t size, int& width, int& height,
                       std::vector<uint32_t>& pixels) {
  if (data == nullptr || size == 0) return false;
  ComScope com;
  ComRef<IWICImagingFactory> factory;
  ComRef<IWICStream> stream;
  ComRef<IWICBitmapDecoder> decoder;
  ComRef<IWICBitmapFrameDecode> frame;
  ComRef<IWICFormatConverter> converter;
  UINT w = 0, h = 0;
  if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                              IID_IWICImagingFactory, reinterpret_cast<void**>(&factory))) ||
      FAILED(factory->CreateStream(&stream)) ||
      FAILED(stream->InitializeFromMemory(const_cast<BYTE*>(data), static_cast<DWORD>(size))) ||
      FAILED(factory->CreateDecoderFromStream(stream.get(), nullptr, WICDecodeMetadataCacheOnDemand,
                                              &decoder)) ||
      FAILED(decoder->GetFrame(0, &frame)) || FAILED(factory->CreateFormatConverter(&converter)) ||
      FAILED(converter->Initialize(frame.get(), GUID_WICPixelFormat32bppBGR,
                                   WICBitmapDitherTypeNone, nullptr, 0.0,
                                   WICBitmapPaletteTypeCustom)) ||
      FAILED(converter->GetSize(&w, &h)) || !PlausibleJpegSize(w, h, size)) {
    return false;
  }
  std::vector<uint32_t> decoded(static_cast<size_t>(w) * h);
  if (FAILED(converter->CopyPixels(nullptr, w * 4, static_cast<UINT>(decoded.size() * 4),
                                   reinterpret_cast<BYTE*>(decoded.data())))) {
    return false;
  }
  width = static_cast<int>(w);
  height = static_cast<int>(h);
  pixels.swap(decoded);
  return true;
}

}  // namespace driftglass
