// Screenshots as PNG files over the real Win32: Windows' own imaging component encodes and decodes.

#include "platform/win32/standin.h"

#include <objbase.h>
#include <wincodec.h>

namespace {

// COM for the calling thread while the object lives; the thread may have it already.
class ComUse {
  public:
    ComUse() : m_started(SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED))) {}
    ~ComUse() {
        if (m_started) CoUninitialize();
    }
    ComUse(const ComUse&) = delete;
    ComUse& operator=(const ComUse&) = delete;

  private:
    bool m_started;
};

// Releases the COM object when it goes.
template <class T>
class Held {
  public:
    Held() = default;
    ~Held() {
        if (m_object != nullptr) m_object->Release();
    }
    Held(const Held&) = delete;
    Held& operator=(const Held&) = delete;
    T** out() { return &m_object; }
    T* operator->() const { return m_object; }
    T* get() const { return m_object; }

  private:
    T* m_object = nullptr;
};

bool lf_factory(Held<IWICImagingFactory>& factory) {
    return SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                      IID_IWICImagingFactory, reinterpret_cast<void**>(factory.out())));
}

// Rows of blue, green, red bytes, as WIC's 24-bit BGR format has them.
std::vector<BYTE> lf_bgrRows(const standin::Image& image) {
    std::vector<BYTE> bytes;
    bytes.reserve(image.pixels.size() * 3);
    for (COLORREF pixel : image.pixels) {
        bytes.push_back(GetBValue(pixel));
        bytes.push_back(GetGValue(pixel));
        bytes.push_back(GetRValue(pixel));
    }
    return bytes;
}

bool lf_write(IWICImagingFactory* factory, const standin::Image& image, const std::filesystem::path& file) {
    Held<IWICStream> stream;
    Held<IWICBitmapEncoder> encoder;
    Held<IWICBitmapFrameEncode> frame;
    if (FAILED(factory->CreateStream(stream.out())) ||
        FAILED(stream->InitializeFromFilename(file.c_str(), GENERIC_WRITE)) ||
        FAILED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.out())) ||
        FAILED(encoder->Initialize(stream.get(), WICBitmapEncoderNoCache)) ||
        FAILED(encoder->CreateNewFrame(frame.out(), nullptr)) || FAILED(frame->Initialize(nullptr)) ||
        FAILED(frame->SetSize(static_cast<UINT>(image.width), static_cast<UINT>(image.height))))
        return false;
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    if (FAILED(frame->SetPixelFormat(&format)) || format != GUID_WICPixelFormat24bppBGR) return false;
    std::vector<BYTE> rows = lf_bgrRows(image);
    const auto stride = static_cast<UINT>(image.width) * 3;
    return SUCCEEDED(frame->WritePixels(static_cast<UINT>(image.height), stride,
                                        static_cast<UINT>(rows.size()), rows.data())) &&
           SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
}

std::optional<standin::Image> lf_read(IWICImagingFactory* factory, const std::filesystem::path& file) {
    Held<IWICBitmapDecoder> decoder;
    Held<IWICBitmapFrameDecode> frame;
    Held<IWICFormatConverter> converter;
    UINT width = 0;
    UINT height = 0;
    if (FAILED(factory->CreateDecoderFromFilename(file.c_str(), nullptr, GENERIC_READ,
                                                  WICDecodeMetadataCacheOnDemand, decoder.out())) ||
        FAILED(decoder->GetFrame(0, frame.out())) || FAILED(frame->GetSize(&width, &height)) ||
        FAILED(factory->CreateFormatConverter(converter.out())) ||
        FAILED(converter->Initialize(frame.get(), GUID_WICPixelFormat24bppBGR, WICBitmapDitherTypeNone,
                                     nullptr, 0.0, WICBitmapPaletteTypeCustom)))
        return std::nullopt;
    std::vector<BYTE> rows(static_cast<std::size_t>(width) * height * 3);
    if (FAILED(converter->CopyPixels(nullptr, width * 3, static_cast<UINT>(rows.size()), rows.data())))
        return std::nullopt;
    standin::Image image;
    image.width = static_cast<int>(width);
    image.height = static_cast<int>(height);
    image.pixels.reserve(static_cast<std::size_t>(width) * height);
    for (std::size_t i = 0; i < rows.size(); i += 3)
        image.pixels.push_back(RGB(rows[i + 2], rows[i + 1], rows[i]));
    return image;
}

}  // namespace

namespace standin {

bool savePng(HWND window, const std::filesystem::path& file) {
    std::optional<Image> image = renderWindow(window);
    if (!image || image->width <= 0 || image->height <= 0) return false;
    ComUse com;
    Held<IWICImagingFactory> factory;
    return lf_factory(factory) && lf_write(factory.get(), *image, file);
}

std::optional<Image> readPng(const std::filesystem::path& file) {
    ComUse com;
    Held<IWICImagingFactory> factory;
    if (!lf_factory(factory)) return std::nullopt;
    return lf_read(factory.get(), file);
}

}  // namespace standin
