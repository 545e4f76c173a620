// A library with COM self-registration entry points; they record their calls in the registry.
#include <windows.h>

namespace {
const char* kKey = "Software\\VedozerTest\\SelfRegister";
}

extern "C" __declspec(dllexport) HRESULT __stdcall DllRegisterServer() {
    HKEY h = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &h, nullptr) != ERROR_SUCCESS)
        return E_FAIL;
    const char state[] = "registered";
    RegSetValueExA(h, "State", 0, REG_SZ, reinterpret_cast<const BYTE*>(state), sizeof state);
    RegCloseKey(h);
    return S_OK;
}

extern "C" __declspec(dllexport) HRESULT __stdcall DllUnregisterServer() {
    HKEY h = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &h, nullptr) != ERROR_SUCCESS)
        return E_FAIL;
    const char state[] = "unregistered";
    RegSetValueExA(h, "State", 0, REG_SZ, reinterpret_cast<const BYTE*>(state), sizeof state);
    RegCloseKey(h);
    return S_OK;
}
