#include "CClientDC.h"

#include <utility>

#include "CWnd.h"

CClientDC::CClientDC(CWnd* pWnd) : m_hWnd(pWnd != nullptr ? pWnd->m_hWnd : nullptr) {
    m_hDC = ::GetDC(m_hWnd);
}

CClientDC::CClientDC(CClientDC&& other) noexcept
    : CDC(std::exchange(other.m_hDC, nullptr)), m_hWnd(other.m_hWnd) {}

CClientDC::~CClientDC() {
    if (m_hDC != nullptr)
        ::ReleaseDC(m_hWnd, m_hDC);
}
