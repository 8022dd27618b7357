#include "CGdiObject.h"

#include <utility>

CGdiObject::CGdiObject(CGdiObject&& other) noexcept : m_hObject(std::exchange(other.m_hObject, nullptr)) {}

CGdiObject& CGdiObject::operator=(CGdiObject&& other) noexcept {
    if (this != &other) {
        DeleteObject();
        m_hObject = std::exchange(other.m_hObject, nullptr);
    }
    return *this;
}

CGdiObject::~CGdiObject() {
    DeleteObject();
}

BOOL CGdiObject::Attach(HGDIOBJ h) {
    DeleteObject();
    m_hObject = h;
    return h != nullptr;
}

HGDIOBJ CGdiObject::Detach() {
    return std::exchange(m_hObject, nullptr);
}

BOOL CGdiObject::DeleteObject() {
    if (m_hObject == nullptr)
        return FALSE;
    return ::DeleteObject(std::exchange(m_hObject, nullptr));
}

int CGdiObject::GetObject(int nCount, void* pObject) const {
    return ::GetObjectA(m_hObject, nCount, pObject);
}
