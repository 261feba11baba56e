// The list view of the windowing layer on a real (hidden) window: texts of any length come back
// whole, caption and sub-items alike.
#include "Form.h"
#include "ListView.h"
#include <gtest/gtest.h>
#include <string>

namespace {
class TListForm : public TForm {
public:
    TListForm() : TForm(L"TListForm"), List(this, 1) {
        List.AddColumn("Компонент", 100);
        List.AddColumn("Информация", 100);
    }
    TListView List;
};
}  // namespace

TEST(TListView, TextsComeBackWhole) {
    TListForm form;
    const std::string lengths[] = {"",
                                   "Успешно",
                                   std::string(4095, 'a'),
                                   std::string(4096, 'b'),
                                   std::string(4097, 'c'),
                                   "Ошибка: " + std::string(20000, 'д')};
    for (const std::string& text : lengths) {
        SCOPED_TRACE(text.size());
        const int row = form.List.AddItem(text, 0);
        ASSERT_GE(row, 0);
        form.List.SetItemText(row, 1, text + "!");
        EXPECT_EQ(form.List.ItemText(row, 0), text);
        EXPECT_EQ(form.List.ItemText(row, 1), text + "!");
    }
    EXPECT_EQ(form.List.Count(), 6);
}
