#pragma once
// ENet is set up before the first host and taken down after the last one.

class tENetLibrary {
public:
    tENetLibrary();
    ~tENetLibrary();
    tENetLibrary(const tENetLibrary&) = delete;
    tENetLibrary& operator=(const tENetLibrary&) = delete;
    bool Ok() const { return Ready; }

private:
    bool Ready = false;
};
