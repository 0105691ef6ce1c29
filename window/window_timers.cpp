#include "custom_window.h"

void CCustomWindow::OnTimer(UINT_PTR nIDEvent)
{
    (void)nIDEvent;
    Default();
}
