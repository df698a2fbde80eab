#pragma once

#include <cstdint>

struct tagUSERINFO;

// The record the rule book hands to its host for everything it wants done:
// messages to send, charges, statistics and trace lines. It lives on the
// caller's stack for the duration of the call; the host copies what it keeps.
struct tagHOSTCALL {
    int32_t nOwnerId;
    int32_t nCode;
    int32_t nParam;
    int32_t nDataLen;
    const void* pData;
};

typedef int (*HOSTCALLBACK)(tagHOSTCALL* call);

// Host call codes.
enum {
    kHostTrace = 0,
    kHostGameBegins = 1,
    kHostGameOverValue = 2,
    kHostBeanSettlement = 4,
    kHostGameOver = 5,
    kHostTableGameEnded = 7,
    kHostSeatQuery = 9,
    kHostCharge = 12,
    kHostSendToAll = 100,
    kHostSendForwarded = 103,
    kHostSendToSeat = 104,
    kHostSendToWatchers = 105,
    kHostSendSnapshot = 106,
    kHostGuessResult = 107,
};

// Property ids of SetProperty.
enum {
    kPropRulesText = 0,
    kPropName = 10000,
    kPropFirstInt = 10001,
    kPropBeanRate = 10004,
};

// A game record that a seat sent, as the host hands it to the rule book.
struct tagGAMEEVENT {
    int32_t nSeat;
    int32_t nLength;
    const void* pRecord;
};

// The event-driven interface through which a table host drives a rule book.
// The host installs its callback, sets property 0 to the rules text, and
// forwards table events through Dispatch. The program itself attaches no
// host: it uses the rule book's non-virtual members only.
class CGameLogicBase {
public:
    CGameLogicBase();
    virtual ~CGameLogicBase();

    // Virtual slots, in slot order after the destructor.
    virtual int Init();
    virtual int Dispatch(int event, intptr_t a, intptr_t b);
    virtual int SetProperty(int id, const void* value);
    virtual int OnUserEnter(int flags, const tagUSERINFO* user);
    virtual int OnUserLeave(const char* userName);
    virtual int OnWatcherEnter(const void* watcher);
    virtual int OnWatcherLeave(const void* watcher);
    virtual int OnGameMsg(const tagGAMEEVENT* event);
    virtual int OnBreak(int seat, intptr_t x);
    virtual int OnBreakReturn(int seat, intptr_t x);
    virtual int OnEvent11(intptr_t a, intptr_t b);
    virtual int OnTrustExit(int seat, intptr_t x);
    virtual int OnEvent13(intptr_t a, intptr_t b);
    virtual int OnUserInfoChange(int flags, const tagUSERINFO* user);
    virtual int OnEvent15();
    virtual int OnEvent16();
    virtual int OnEvent17(intptr_t a);
    virtual int OnEvent18(intptr_t a);

    void SetOwnerId(int ownerId) { m_nOwnerId = ownerId; }
    void SetHostCallback(HOSTCALLBACK callback) { m_pfnHostCallback = callback; }
    const char* GetName() const { return m_szName; }
    int GetIntProperty(int id) const;

    // Hands one call to the host; 0 when no host is attached.
    int CallHost(int code, int param, const void* data, int dataLen);

    // A call whose answer the host writes into the record's param; 0 when
    // no host is attached or the host gave no answer.
    int AskHost(int code, const void* data, int dataLen, int* answer);

    // Senders of game records.
    int SendToAll(const void* record, int length);
    int SendForwardedToSeat(int seat, const void* record, int length);
    int SendToSeat(int seat, const void* record, int length);
    int SendToWatchers(int seat, const void* record, int length);
    int SendSnapshot(const void* record, int length);

    // A printf-style trace line for the host, at most 1023 characters, also
    // on the trace's referee channel.
    void Trace(const char* format, ...) __attribute__((format(printf, 2, 3)));
    // A failure a handler caught: traced as above, and the end of a test run
    // (a program only traces it and goes on).
    void TraceCaught(const char* line);

protected:
    int m_nOwnerId;
    HOSTCALLBACK m_pfnHostCallback;
    char m_szName[40];
    int m_nIntProperty[4]; // properties 10001..10004
};

// Makes a new rule book for a host; null when memory runs out. The host
// deletes it through the virtual destructor.
CGameLogicBase* CreateGameLogic();
