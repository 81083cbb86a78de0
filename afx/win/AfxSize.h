// CSize: a SIZE with constructors.
#pragma once

#include <afx/core/AfxTypes.h>

class CSize : public SIZE
{
public:
    CSize() noexcept : SIZE{0, 0} {}
    CSize(int initCX, int initCY) noexcept : SIZE{initCX, initCY} {}
};
