#pragma once
// The backend's headers for the subcommands: the win32 backend on Windows, the image backend elsewhere.
#ifdef _WIN32
#include "platform/win32/Win32Http.h"
#include "platform/win32/Win32Platform.h"
namespace vedozer {
using BackendHttp = Win32Http;
}
#else
#include "platform/image/HttpClient.h"
#include "platform/image/ImagePlatform.h"
namespace vedozer {
using BackendHttp = HttpClient;
}
#endif
