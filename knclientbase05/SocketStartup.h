#pragma once

// Starting Windows Sockets for the library's connections.

#include "platform/net/Winsock.h"

// Starts the socket layer through the framework and keeps what it reported;
// 0 when it could not be started.
int SocketStartup();

// What the last successful start-up reported (all zero before one). Its high
// version says whether a closing socket can linger until its last frame has
// left (2.0 and later) or must wait before closing.
const WSADATA& GetSocketStartupData();
