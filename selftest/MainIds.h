// Fixed control and menu ids of the main window (the tests find them by these).
#pragma once

enum MainWindowIds {
    ID_Panel1 = 1001,
    ID_Label2 = 1002,
    ID_PB1 = 1003,
    ID_LV_Stat = 1004,
    ID_pnl1 = 1005,
    ID_Button_Send = 1006,
    ID_Button_Check = 1007,
    ID_B_Exit = 1008,

    ID_mni_N18 = 2001,
    ID_N1 = 2002,
    ID_N2 = 2003,
    ID_N6 = 2004,
    ID_N8 = 2005,
};
