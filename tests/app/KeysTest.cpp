// "&Fechar"'s access key: F alone outside the search box, Alt+F anywhere.
#include "WindowTesting.h"

#include "app/SongGrid.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace apptest {
namespace {

class Keys : public WindowTest {
protected:
    void SetUp() override
    {
        MakeCatalogue(NumberedSongs(3));
        Open();
    }
};

TEST_F(Keys, FOrLowerCaseFInTheListCloses)
{
    for (Qt::KeyboardModifiers modifiers : {Qt::KeyboardModifiers(Qt::NoModifier), Qt::KeyboardModifiers(Qt::ShiftModifier)}) {
        Window().show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&Window()));
        KeyInList(Qt::Key_F, modifiers);
        EXPECT_FALSE(Window().isVisible()) << "modifiers " << modifiers;
    }
}

TEST_F(Keys, FInTheSearchBoxIsALetter)
{
    Type("fF");
    EXPECT_TRUE(Window().isVisible());
    EXPECT_EQ(Window().MEBuscarMusicas->text(), "FF");
}

TEST_F(Keys, AltFClosesFromTheSearchBoxAndFromTheList)
{
    for (QWidget* focus : {static_cast<QWidget*>(Window().MEBuscarMusicas), static_cast<QWidget*>(Window().DBMusicas)}) {
        Window().show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&Window()));
        QApplication::setActiveWindow(&Window());
        focus->setFocus();
        QTest::keyClick(focus, Qt::Key_F, Qt::AltModifier);
        // The access key clicks the button a moment later, as a click would look.
        for (int i = 0; i < 50 && Window().isVisible(); ++i)
            QTest::qWait(20);
        EXPECT_FALSE(Window().isVisible());
        EXPECT_EQ(Window().MEBuscarMusicas->text(), "");
    }
}

TEST_F(Keys, TheButtonsNeverTakeTheFocusAndTabGoesFromTheSearchBoxToTheList)
{
    for (QPushButton* button : {Window().BTodas, Window().BSelecionadas, Window().BFechar})
        EXPECT_EQ(button->focusPolicy(), Qt::NoFocus);
    Window().MEBuscarMusicas->setFocus();
    QTest::keyClick(Window().MEBuscarMusicas, Qt::Key_Tab);
    EXPECT_TRUE(Window().DBMusicas->hasFocus());
}

} // namespace
} // namespace apptest
