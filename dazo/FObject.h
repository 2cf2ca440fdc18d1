// Root of the library's class tree.
#pragma once

class FObject {
public:
    virtual ~FObject() {}
};
