#include "game/GameLogicBase.h"
#include "platform/system/Trace.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

CGameLogicBase::CGameLogicBase()
    : m_nOwnerId(0), m_pfnHostCallback(nullptr), m_szName{}, m_nIntProperty{-1, 0, 0, 1} {}

CGameLogicBase::~CGameLogicBase() = default;

int CGameLogicBase::Init() {
    return 1;
}

int CGameLogicBase::Dispatch(int event, intptr_t a, intptr_t b) {
    switch (event) {
    case 0:
        return SetProperty(static_cast<int>(a), reinterpret_cast<const void*>(b));
    case 1:
        return OnUserEnter(static_cast<int>(a), reinterpret_cast<const tagUSERINFO*>(b));
    case 2:
        return OnUserLeave(reinterpret_cast<const char*>(b));
    case 3:
        return OnWatcherEnter(reinterpret_cast<const void*>(b));
    case 4:
        return OnWatcherLeave(reinterpret_cast<const void*>(b));
    case 5:
        return OnGameMsg(reinterpret_cast<const tagGAMEEVENT*>(b));
    case 6:
        return OnBreak(static_cast<int>(a), b);
    case 7:
        return OnBreakReturn(static_cast<int>(a), b);
    case 8:
        return OnEvent11(a, b);
    case 9:
        return OnTrustExit(static_cast<int>(a), b);
    case 10:
        return OnUserInfoChange(static_cast<int>(a), reinterpret_cast<const tagUSERINFO*>(b));
    case 11:
        return OnEvent15();
    case 12:
        return OnEvent17(a);
    case 13:
        return OnEvent18(a);
    case 14:
        return OnEvent13(a, b);
    case 15:
        return OnEvent16();
    default:
        return 0;
    }
}

int CGameLogicBase::SetProperty(int id, const void* value) {
    if (value == nullptr)
        return 0;
    if (id == kPropName) {
        strncpy(m_szName, static_cast<const char*>(value), sizeof(m_szName) - 1);
        m_szName[sizeof(m_szName) - 1] = '\0';
    } else if (id >= kPropFirstInt && id <= kPropBeanRate) {
        memcpy(&m_nIntProperty[id - kPropFirstInt], value, sizeof(int));
    }
    return 1;
}

int CGameLogicBase::GetIntProperty(int id) const {
    if (id < kPropFirstInt || id > kPropBeanRate)
        return 0;
    return m_nIntProperty[id - kPropFirstInt];
}

int CGameLogicBase::OnUserEnter(int, const tagUSERINFO*) {
    return 1;
}
int CGameLogicBase::OnUserLeave(const char*) {
    return 1;
}
int CGameLogicBase::OnWatcherEnter(const void*) {
    return 1;
}
int CGameLogicBase::OnWatcherLeave(const void*) {
    return 1;
}
int CGameLogicBase::OnGameMsg(const tagGAMEEVENT*) {
    return 1;
}
int CGameLogicBase::OnBreak(int, intptr_t) {
    return 1;
}
int CGameLogicBase::OnBreakReturn(int, intptr_t) {
    return 1;
}
int CGameLogicBase::OnEvent11(intptr_t, intptr_t) {
    return 1;
}
int CGameLogicBase::OnTrustExit(int, intptr_t) {
    return 1;
}
int CGameLogicBase::OnEvent13(intptr_t, intptr_t) {
    return 1;
}
int CGameLogicBase::OnUserInfoChange(int, const tagUSERINFO*) {
    return 1;
}
int CGameLogicBase::OnEvent15() {
    return 1;
}
int CGameLogicBase::OnEvent16() {
    return 0;
}
int CGameLogicBase::OnEvent17(intptr_t) {
    return 1;
}
int CGameLogicBase::OnEvent18(intptr_t) {
    return 1;
}

int CGameLogicBase::CallHost(int code, int param, const void* data, int dataLen) {
    if (m_pfnHostCallback == nullptr)
        return 0;
    tagHOSTCALL call{m_nOwnerId, code, param, dataLen, data};
    return m_pfnHostCallback(&call);
}

int CGameLogicBase::AskHost(int code, const void* data, int dataLen, int* answer) {
    if (m_pfnHostCallback == nullptr)
        return 0;
    tagHOSTCALL call{m_nOwnerId, code, 0, dataLen, data};
    const int result = m_pfnHostCallback(&call);
    if (result != 0 && answer != nullptr)
        *answer = call.nParam;
    return result;
}

int CGameLogicBase::SendToAll(const void* record, int length) {
    return CallHost(kHostSendToAll, 0, record, length);
}

int CGameLogicBase::SendForwardedToSeat(int seat, const void* record, int length) {
    return CallHost(kHostSendForwarded, seat, record, length);
}

int CGameLogicBase::SendToSeat(int seat, const void* record, int length) {
    return CallHost(kHostSendToSeat, seat, record, length);
}

int CGameLogicBase::SendToWatchers(int seat, const void* record, int length) {
    return CallHost(kHostSendToWatchers, seat, record, length);
}

int CGameLogicBase::SendSnapshot(const void* record, int length) {
    return CallHost(kHostSendSnapshot, 0, record, length);
}

void CGameLogicBase::Trace(const char* format, ...) {
    if (m_pfnHostCallback == nullptr &&
        !platform::IsTraced(platform::TraceChannel::kReferee, platform::kTraceError))
        return;
    char text[1024];
    va_list args;
    va_start(args, format);
    vsnprintf(text, sizeof(text), format, args);
    va_end(args);
    platform::Trace(platform::TraceChannel::kReferee, platform::kTraceError, "%s", text);
    if (m_pfnHostCallback != nullptr)
        CallHost(kHostTrace, 0, text, 0);
}

void CGameLogicBase::TraceCaught(const char* line) {
    Trace("%s", line);
    platform::ReportCaughtFailure(platform::TraceChannel::kReferee, line);
}
