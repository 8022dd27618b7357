#include "CDataExchange.h"

#include <stdexcept>
#include <string>

#include "CWnd.h"

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl) {
    if (rControl.m_hWnd != nullptr)
        return;
    if (!rControl.SubclassDlgItem(UINT(nIDC), pDX->m_pDlgWnd))
        throw std::runtime_error("The dialog has no control " + std::to_string(nIDC) + " to attach.");
}
