// The reason page: the configured causes on five check boxes and the Continue rule.

#include "ui_uninstallwindow.h"
#include "wizard/uninstall.h"

#include "entry/logging.h"

#include <QButtonGroup>
#include <QCheckBox>

void Uninstall::on_uninstallCause_slot(
    bool uninstallCuaseCheck, QVector<QString> keys, QMap<QString, QString> texts, QString users)
{
    causeCheck = uninstallCuaseCheck;
    causeKeys = keys;
    causeTexts = texts;
    usersText = users;
    uninstallCause();
}

void Uninstall::uninstallCause()
{
    UninstallLog::debug(QStringLiteral("bind uninstall cause!"));
    UninstallLog::debug(QStringLiteral("uninstall cause size: %1").arg(causeTexts.size()));

    // Each delivery gets a group of its own; a box belongs to the group it joined last, and
    // the earlier groups live on as children of the window.
    auto* group = new QButtonGroup(this);
    for (int i = 0; i < optionBoxes.size(); ++i) {
        QCheckBox* box = optionBoxes.at(i);
        if (i >= causeKeys.size()) {
            // Fewer causes than boxes: the rest go back to their form names, blank and out of
            // reach. An exclusive group would keep a ticked box ticked, so it leaves it first.
            if (QButtonGroup* previous = box->group())
                previous->removeButton(box);
            box->setChecked(false);
            box->setObjectName(QStringLiteral("option_%1").arg(i + 1));
            box->setText(QString());
            box->setEnabled(false);
            continue;
        }
        const QString& key = causeKeys.at(i);
        if (causeCheck)
            group->addButton(box);
        box->setObjectName(key);
        box->setText(causeTexts.value(key));
        box->setEnabled(true);
    }
    group->setExclusive(causeCheck);

    const QString weight = m_textWeights.value(1);
    const QString colour = m_textColors.value(1);
    form->hintLab->setText(QCoreApplication::translate("QObject",
        "<html><head/><body><p>We have provided data transfer services to over <span "
        "style='font-weight:%1; color:%2;'>%3</span> users</p></body></html>")
                               .arg(weight, colour, usersText));

    form->causeEdit->setEnabled(true);
    form->optionFrame->setEnabled(true);
    // A box that lost its cause may have been the ticked one.
    onBtnContinueEnableSlot();
}

void Uninstall::onBtnContinueEnableSlot()
{
    bool anyChecked = false;
    for (QCheckBox* box : qAsConst(optionBoxes))
        anyChecked = anyChecked || box->isChecked();
    form->btnContinue_2->setEnabled(anyChecked);
}
