#pragma once

#include <QtCore/QByteArray>
#include <functional>

namespace chimewell {

/// One running copy per user and application folder, and a way for later copies to ask it
/// something.
class SingleInstance
{
public:
    virtual ~SingleInstance() = default;
    /// True when this is the only copy; it then holds the claim until it ends.
    virtual bool tryAcquire() = 0;
    /// Gives the claim up (a copy that only answered a request ends without running).
    virtual void release() {}

    /// The copy that holds the claim answers requests of later copies: `answer` gets each
    /// request's bytes and gives the reply's.
    using Answer = std::function<QByteArray(const QByteArray& request)>;
    virtual void serve(Answer answer) { (void)answer; }

    /// How a request to the running copy went.
    enum class Asked
    {
        Answered,
        NobodyListens, // no copy runs, or it does not take requests yet
        NoAnswer       // a copy took the request and did not answer in time
    };
    virtual Asked ask(const QByteArray& request, int timeoutMs, QByteArray& reply)
    {
        (void)request;
        (void)timeoutMs;
        (void)reply;
        return Asked::NobodyListens;
    }
};

} // namespace chimewell
