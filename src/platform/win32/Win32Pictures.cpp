#include "platform/win32/Win32Pictures.h"
#include "platform/win32/Win32Ole.h"

#include <wincodec.h>

#include "platform/AppError.h"
#include "platform/Text.h"
#include "platform/win32/ComPtr.h"
#include "platform/win32/Win32Metafiles.h"
#include "platform/win32/Win32Text.h"

void PictureDecoderError(HRESULT hr) {
    std::u16string description = TrimDescription(SystemErrorText(static_cast<DWORD>(hr)));
    if (description.empty()) description = u"画像を読み込めません (0x" + text::Hex8(static_cast<uint32_t>(hr)) + u")";
    throw AppError(description);
}

HBITMAP NewTopDownDib(HDC like, int width, int height, void** bits) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    *bits = nullptr;
    return CreateDIBSection(like, &info, DIB_RGB_COLORS, bits, nullptr, 0);
}

std::shared_ptr<Win32Picture> NewWin32Picture(int width, int height, void*& bits) {
    HBITMAP bitmap = NewTopDownDib(nullptr, width, height, &bits);
    if (!bitmap) PictureDecoderError(HRESULT_FROM_WIN32(GetLastError()));
    return std::make_shared<Win32Picture>(bitmap, width, height);
}

namespace {
void Check(HRESULT hr) {
    if (FAILED(hr)) PictureDecoderError(hr);
}
}  // namespace

std::shared_ptr<Picture> Win32Pictures::Decode(const std::string& bytes, const std::u16string& extension) {
    if (bytes.empty() || bytes.size() > 0x7FFFFFFF) PictureDecoderError(WINCODEC_ERR_BADHEADER);
    // The imaging component has no metafile decoder; content of another kind
    // under a metafile's name still goes to it and gets its error.
    if ((extension == u"EMF" || extension == u"WMF") && metafiles::Recognised(bytes)) return metafiles::Decode(bytes);
    ComPtr<IWICImagingFactory> factory;
    ole::EnsureInitialized();
    Check(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                           factory.Out()));
    ComPtr<IWICStream> stream;
    Check(factory->CreateStream(stream.Put()));
    Check(stream->InitializeFromMemory(reinterpret_cast<BYTE*>(const_cast<char*>(bytes.data())),
                                       static_cast<DWORD>(bytes.size())));
    ComPtr<IWICBitmapDecoder> decoder;
    Check(factory->CreateDecoderFromStream(stream.Get(), nullptr, WICDecodeMetadataCacheOnLoad, decoder.Put()));
    ComPtr<IWICBitmapFrameDecode> frame;
    Check(decoder->GetFrame(0, frame.Put()));
    ComPtr<IWICFormatConverter> converter;
    Check(factory->CreateFormatConverter(converter.Put()));
    Check(converter->Initialize(frame.Get(), GUID_WICPixelFormat32bppPBGRA, WICBitmapDitherTypeNone, nullptr, 0.0,
                                WICBitmapPaletteTypeCustom));
    UINT width = 0, height = 0;
    Check(converter->GetSize(&width, &height));
    if (width == 0 || height == 0 || width > kMaxPictureSide || height > kMaxPictureSide) PictureDecoderError(WINCODEC_ERR_BADIMAGE);

    void* bits = nullptr;
    auto picture = NewWin32Picture(static_cast<int>(width), static_cast<int>(height), bits);
    Check(converter->CopyPixels(nullptr, width * 4, width * height * 4, static_cast<BYTE*>(bits)));
    return picture;
}
