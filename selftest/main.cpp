#include "main.h"
#include "Application.h"
#include "DebugInfo.h"
#include "FDetail.h"
#include "MainIds.h"
#include "ResultsText.h"
#include "StatusImages.h"
#include "Text.h"
#include <memory>

TF_MainTest* F_MainTest = nullptr;

TF_MainTest::TF_MainTest()
    : TForm(L"TF_MainTest"),
      Panel1(this, ID_Panel1),
      Label2(&Panel1, ID_Label2),
      PB1(&Panel1, ID_PB1),
      pnl1(this, ID_pnl1),
      Button_Send(&pnl1, ID_Button_Send),
      Button_Check(&pnl1, ID_Button_Check),
      B_Exit(&pnl1, ID_B_Exit),
      LV_Stat(this, ID_LV_Stat),
      Im_16(16, 16),
      A_MakeTest("A_MakeTest", "Провести тестирование", TagRegular),
      A_DebugInfo("A_DebugInfo", "Информация для службы технической поддержки"),
      MainMenu1(*this),
      mni_N18("mni_N18", ID_mni_N18, "Провести тестирование", TagRegular),
      N1("N1", ID_N1, "Провести тестирование ТК", TagTraining),
      N2("N2", ID_N2, "Провести тестирование РК", TagAlternative),
      N6("N6", ID_N6, ""),
      N8("N8", ID_N8, "Выход") {
    Name = "F_MainTest";
    SetCaption("Тестирование клиентских модулей ЯСК ВАРТО на рабочем месте");

    A_MakeTest.OnExecute = [this](TComponent* s) { A_MakeTestExecute(s); };
    A_DebugInfo.OnExecute = [this](TComponent* s) { A_DebugInfoExecute(s); };
    LV_Stat.OnDblClick = [this](TComponent* s) { LV_StatDblClick(s); };
    mni_N18.OnClick = [this](TComponent* s) { mni_N18Click(s); };
    N1.OnClick = [this](TComponent* s) { N1Click(s); };
    N2.OnClick = [this](TComponent* s) { N2Click(s); };
    N8.OnClick = [this](TComponent* s) { B_ExitClick(s); };

    HMENU testing = MainMenu1.AddMenu("Тестирование");
    MainMenu1.AddItem(testing, mni_N18);
    MainMenu1.AddItem(testing, N1);
    MainMenu1.AddItem(testing, N2);
    MainMenu1.AddSeparator(testing);
    MainMenu1.AddItem(testing, N6, &A_DebugInfo);
    MainMenu1.AddSeparator(testing);
    MainMenu1.AddItem(testing, N8);
    SetMenu(MainMenu1);
    SetClientSize(624, 448);

    Panel1.SetBounds(0, 0, 624, 41);
    Panel1.SetAlign(TAlign::Top);
    Panel1.SetColor(RGB(255, 255, 255));
    Label2.SetBounds(8, 14, 140, 14);
    Label2.SetCaption("Процесс выполнения");
    PB1.SetBounds(161, 10, 455, 22);
    PB1.SetAnchors(akLeft | akTop | akRight);
    PB1.SetStep(1);
    Panel1.SetVisible(false);

    pnl1.SetBounds(0, 407, 624, 41);
    pnl1.SetAlign(TAlign::Bottom);
    Button_Send.SetBounds(56, 8, 313, 25);
    Button_Check.SetBounds(375, 8, 160, 25);
    B_Exit.SetBounds(541, 8, 75, 25);
    for (TButton* b : {&Button_Send, &Button_Check, &B_Exit})
        b->SetAnchors(akTop | akRight);
    Button_Send.SetFont(ButtonFont);
    Button_Check.SetFont(BoldButtonFont);
    BindAction(Button_Send, A_DebugInfo);
    BindAction(Button_Check, A_MakeTest);
    B_Exit.SetCaption("Выход");
    OnCommand(ID_B_Exit, [this] { B_ExitClick(&B_Exit); });

    LV_Stat.SetAlign(TAlign::Client);
    LV_Stat.AddColumn("Компонент", 300);
    LV_Stat.AddColumn("Информация", 300);
    LV_Stat.AddColumn("ID", 0);
    AddStatusImages(Im_16);
    LV_Stat.SetSmallImages(Im_16);
    Realign();
}

void TF_MainTest::A_MakeTestExecute(TComponent* sender) {
    RunTests(sender->Tag, RunView, Run);
}

void TF_MainTest::LV_StatDblClick(TComponent*) {
    const int selected = LV_Stat.Selected();
    if (selected < 0 || selected >= static_cast<int>(Run.Results.size()))
        return;
    const auto detail = std::make_unique<TF_Detail>();
    detail->ShowResult(Run.Results[selected]);
    detail->ShowModal();
}

void TF_MainTest::A_DebugInfoExecute(TComponent*) {
    const auto report = std::make_unique<TF_DebugInfo>();
    report->ResultsText = vcl::ToWide(ResultsText(Run));
    report->ShowModal();
}
