#include "TestApp.h"

TestApp theApp;

BOOL TestApp::PreTranslateMessage(MSG* pMsg) {
    ++m_nPreTranslated;
    if (m_hAccel != nullptr && m_pMainWnd != nullptr && m_pMainWnd->m_hWnd != nullptr &&
        ::TranslateAcceleratorA(m_pMainWnd->m_hWnd, m_hAccel, pMsg))
        return TRUE;
    return CWinApp::PreTranslateMessage(pMsg);
}
