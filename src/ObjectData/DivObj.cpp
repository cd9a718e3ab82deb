#include "ObjectData/DivObj.h"

CDivObj::CDivObj() = default;

CDivObj::~CDivObj()
{
    DestroyWindow();
}

void CDivObj::DestroyWindow()
{
    // The window may already be gone with its parent; QPointer then is null.
    delete m_pWnd.data();
    m_pWnd = nullptr;
}
