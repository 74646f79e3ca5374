#pragma once

namespace chimewell {

/// One running copy per user and application folder.
class SingleInstance
{
public:
    virtual ~SingleInstance() = default;
    /// True when this is the only copy; it then holds the claim until it ends.
    virtual bool tryAcquire() = 0;
};

} // namespace chimewell
