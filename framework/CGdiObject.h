// An owned GDI object (pen, brush, font, bitmap): deleted with the wrapper; move-only, so two
// wrappers never delete the same handle.
#pragma once

#include <windows.h>

class CGdiObject {
public:
    HGDIOBJ m_hObject = nullptr;

    CGdiObject() = default;
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;
    CGdiObject(CGdiObject&& other) noexcept;
    CGdiObject& operator=(CGdiObject&& other) noexcept;
    virtual ~CGdiObject();

    // Takes ownership of h (deleting the object held before).
    BOOL Attach(HGDIOBJ h);
    // Gives up ownership without deleting.
    HGDIOBJ Detach();
    BOOL DeleteObject();
    int GetObject(int nCount, void* pObject) const;
};
