#pragma once

// While alive, file permissions apply to this thread even when the tests run
// as root (as CI does): the capabilities that override them are dropped from
// the effective set and given back afterwards.
class HonourFilePermissions
{
public:
    HonourFilePermissions();
    ~HonourFilePermissions();
    HonourFilePermissions(const HonourFilePermissions &) = delete;
    HonourFilePermissions &operator=(const HonourFilePermissions &) = delete;

private:
    bool m_dropped = false;
};
