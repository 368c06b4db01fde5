#include "tests/support/ModalDialogGuard.h"

#include <QMessageBox>

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

// A view that raises a dialog nobody expected must fail its test and let it go on, not park the
// suite in the dialog's event loop until the test timeout.
TEST(ModalDialogGuardTest, AnUnansweredModalDialogFailsTheTestWithItsTextAndIsClosed)
{
    int code = QMessageBox::Ok;
    EXPECT_NONFATAL_FAILURE(
        {
            QMessageBox box(QMessageBox::Warning, QStringLiteral("Kelvara"), QStringLiteral("Nobody answers this"),
                            QMessageBox::Ok | QMessageBox::Cancel);
            box.setWindowModality(Qt::ApplicationModal);
            code = box.exec();
        },
        "Nobody answers this");
    EXPECT_EQ(code, QDialog::Rejected) << "the dialog is dismissed, not answered";
}
