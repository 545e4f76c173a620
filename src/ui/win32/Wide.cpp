#include "ui/win32/Wide.h"

#include <windows.h>

namespace vedozer::win32ui {

namespace {
constexpr UINT kEngineCodePage = 1252;
}

std::wstring widen(std::string_view ansi) {
    if (ansi.empty()) return {};
    int n = MultiByteToWideChar(kEngineCodePage, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(kEngineCodePage, 0, ansi.data(), static_cast<int>(ansi.size()), out.data(), n);
    return out;
}

std::string narrow(std::wstring_view wide) {
    if (wide.empty()) return {};
    int n = WideCharToMultiByte(kEngineCodePage, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, "?",
                                nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(kEngineCodePage, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n, "?", nullptr);
    return out;
}

}  // namespace vedozer::win32ui
