// The uninstalling page's end: what the removal did, told as it is. A removal that removed
// nothing is a failure for the user and for the host alike.

#include "ui_uninstallwindow.h"
#include "wizard/uninstall.h"

#include "entry/logging.h"
#include "entry/uninstallaborted.h"
#include "removal/filedeletionthread.h"

#include "ternproductinfo.h"

#include <QCoreApplication>
#include <QDir>

namespace {

QString text(const char* source)
{
    return QCoreApplication::translate("QObject", source);
}

QString failureReason(const RemovalOutcome& removal, const QString& product)
{
    const QString folder = QDir::toNativeSeparators(removal.root);
    switch (removal.decision.verdict) {
    case DeletionDecision::Missing:
        return text(QT_TRANSLATE_NOOP("QObject", "The program's folder %1 could not be found."))
            .arg(folder);
    case DeletionDecision::NotThisProduct:
        return text(QT_TRANSLATE_NOOP("QObject",
                        "The folder %1 does not look like an installation of %2, so it was left "
                        "untouched."))
            .arg(folder, product);
    case DeletionDecision::FileSystemRoot:
    case DeletionDecision::SystemFolder:
    case DeletionDecision::PersonalFolder:
    case DeletionDecision::OtherUsersHome:
        return text(QT_TRANSLATE_NOOP("QObject",
                        "The program's folder %1 is a protected place of the system or of your own "
                        "files, so it was left untouched."))
            .arg(folder);
    case DeletionDecision::Accepted:
        break;
    }
    return text(QT_TRANSLATE_NOOP("QObject",
                    "None of its files could be removed: they are in use or you lack the "
                    "permission. The list of what stayed is in %1."))
        .arg(QDir::toNativeSeparators(removal.listPath));
}

} // namespace

void Uninstall::onDeletionEnded()
{
    m_removal = deletionThread->outcome();
    m_removalEnded = true;
    if (m_removal.failed()) {
        // The host must not be told that the product is gone.
        uninstallAborted = true;
        UninstallLog::error(QStringLiteral("Uninstall removal failed: ")
            + (m_removal.refused()                ? m_removal.decision.detail
                    : m_removal.failure.isEmpty() ? QStringLiteral("nothing could be removed")
                                                  : m_removal.failure));
    }
    showFinally();
}

void Uninstall::onDeletionThreadFinished()
{
    // A pass that found no folder to work on ends without a word.
    if (m_removalEnded || testMode)
        return;
    m_removal = RemovalOutcome();
    m_removal.root = appDir.absolutePath();
    m_removal.decision.verdict = DeletionDecision::Missing;
    m_removal.decision.detail = QStringLiteral("the folder does not exist");
    onDeletionEnded();
}

void Uninstall::showRemovalTexts()
{
    QLabel* note = form->lblRemovalNote;
    if (m_removal.failed()) {
        form->lblUninstallEnd->hide();
        form->thinkLab->setText(text(QT_TRANSLATE_NOOP("QObject", "Nothing was removed.")));
        note->setText(
            failureReason(m_removal, TernProductInfo::instance()->productName(QString())));
        note->show();
        return;
    }
    form->lblUninstallEnd->show();
    form->thinkLab->setText(text(QT_TRANSLATE_NOOP(
        "QObject", "Uninstallation completed! Looking forward to seeing you again!")));
    const int left = m_removal.leftBehind();
    note->setVisible(left > 0);
    if (left > 0)
        note->setText(
            text(QT_TRANSLATE_NOOP("QObject", "Items that stayed behind: %1. The list is in %2."))
                .arg(left)
                .arg(QDir::toNativeSeparators(m_removal.listPath)));
}
