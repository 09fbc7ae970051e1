// The socket's release, in an object of its own: only a program that owns sockets links it, and
// with it the socket library.
#include <winsock2.h>  // before <windows.h>

#include "platform/handles_win32.h"

#include <type_traits>

static_assert(std::is_same_v<SOCKET, SocketTraits::Handle>);

void SocketTraits::Release(Handle h) { closesocket(h); }
