#pragma once

// Base for classes that own an operating-system handle: a copy would close
// the handle twice, so copying is ruled out at compile time.
class CNoCopy {
protected:
    CNoCopy() = default;
    ~CNoCopy() = default;

public:
    CNoCopy(const CNoCopy&) = delete;
    CNoCopy& operator=(const CNoCopy&) = delete;
};
