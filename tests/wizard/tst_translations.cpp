// The shipped catalogues: complete, faithful to the markup and placeholders of their sources,
// and loaded by the host for the chosen language, down to the texts the window shows.

#include "testenvironment.h"

#include "entry/startupfont.h"
#include "entry/uninstallcontext.h"
#include "entry/uninstallregmgr.h"
#include "wizard/uninstall.h"

#include "ternresourcemgr.h"

#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QTextEdit>
#include <QXmlStreamReader>
#include <QtTest>

#include <memory>

namespace {

struct Message {
    QString context;
    QString source;
    QString translation;
    QString type; // empty when finished
};

const QStringList kContexts { QStringLiteral("CheckCloseDlg"),
    QStringLiteral("ClickedStackedWidget"), QStringLiteral("FrmInfo"), QStringLiteral("FrmInfo2"),
    QStringLiteral("FrmUser"), QStringLiteral("QObject"), QStringLiteral("RecFrame"),
    QStringLiteral("UnInstallWindow"), QStringLiteral("Uninstall") };

QString cataloguePath(const QString& language)
{
    return QFINDTESTDATA(
        QStringLiteral("../../product/translations/uninstall_%1.ts").arg(language));
}

QVector<Message> readCatalogue(const QString& path, QString* error)
{
    QVector<Message> messages;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot open '%1'").arg(path);
        return messages;
    }
    QXmlStreamReader xml(&file);
    QString context;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("name")) {
            context = xml.readElementText();
        } else if (xml.name() == QLatin1String("message")) {
            messages.append({ context, {}, {}, {} });
        } else if (xml.name() == QLatin1String("source") && !messages.isEmpty()) {
            messages.last().source = xml.readElementText();
        } else if (xml.name() == QLatin1String("translation") && !messages.isEmpty()) {
            messages.last().type = xml.attributes().value(QLatin1String("type")).toString();
            messages.last().translation = xml.readElementText();
        }
    }
    if (xml.hasError())
        *error = QStringLiteral("%1:%2: %3").arg(path).arg(xml.lineNumber()).arg(xml.errorString());
    return messages;
}

// What a translation must keep of its source: the numbered placeholders QString::arg fills
// (in any order) and the tags of the rich text with their attributes (in order).
QStringList matches(const QString& text, const char* pattern, bool sorted = false)
{
    QStringList result;
    auto it = QRegularExpression(QLatin1String(pattern)).globalMatch(text);
    while (it.hasNext())
        result.append(it.next().captured());
    if (sorted)
        result.sort();
    return result;
}

QString key(const Message& message)
{
    return message.context + QLatin1Char('|') + message.source;
}

} // namespace

class TestTranslations : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        UninstallRegMgr::init()->setRegContext(&m_context);
        TernResourceMgr::instance()->setCurrentSkin(QString());
        // The window is measured with the font main_entry gives it.
        QApplication::setFont(startupFont(QApplication::font()));
        QVERIFY(TestEnv::writeFile(
            TestEnv::resourceRoot() + QStringLiteral("/uninstallConfig/price.json"),
            R"({"en": "20", "de": "20", "fr": "20", "zh_CN": "20"})"));
    }

    void cleanupTestCase()
    {
        TernResourceMgr::instance()->setCurrentLanguage(QStringLiteral("en"));
    }

    void cleanup() { QVERIFY(QApplication::topLevelWidgets().isEmpty()); }

    // Every message translated with the markup and placeholders of its source, and the staged
    // catalogue shows exactly those translations.
    void catalogue_data()
    {
        QTest::addColumn<QString>("language");
        for (const char* language : { "en", "de", "fr", "zh_CN" })
            QTest::newRow(language) << QString::fromLatin1(language);
    }

    void catalogue()
    {
        QFETCH(QString, language);
        QString error;
        const QVector<Message> english = readCatalogue(cataloguePath(QStringLiteral("en")), &error);
        const QVector<Message> messages = readCatalogue(cataloguePath(language), &error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        const bool source = language == QLatin1String("en");
        if (!source)
            TernResourceMgr::instance()->setCurrentLanguage(language);

        QSet<QString> englishKeys, keys, contexts;
        for (const Message& message : english)
            englishKeys.insert(key(message));
        QStringList problems;
        for (const Message& message : messages) {
            const QString where = key(message) + QStringLiteral(": ");
            keys.insert(key(message));
            contexts.insert(message.context);
            if (message.type == QLatin1String("vanished")
                || message.type == QLatin1String("obsolete"))
                problems.append(where + QStringLiteral("no longer in the sources"));
            if (source)
                continue;
            if (!message.type.isEmpty() || message.translation.isEmpty())
                problems.append(where + QStringLiteral("not translated"));
            else if (matches(message.translation, "%\\d+", true)
                != matches(message.source, "%\\d+", true))
                problems.append(
                    where + QStringLiteral("placeholders differ: ") + message.translation);
            else if (matches(message.translation, "<[^>]*>") != matches(message.source, "<[^>]*>"))
                problems.append(where + QStringLiteral("markup differs: ") + message.translation);
            else if (message.source.endsWith(QLatin1Char(' '))
                != message.translation.endsWith(QLatin1Char(' ')))
                problems.append(where + QStringLiteral("trailing space lost or added"));
            else if (QCoreApplication::translate(
                         message.context.toUtf8().constData(), message.source.toUtf8().constData())
                != message.translation)
                problems.append(where + QStringLiteral("not what the staged catalogue shows"));
        }
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));
        QCOMPARE(keys, englishKeys);
        QCOMPARE(contexts, QSet<QString>(kContexts.cbegin(), kContexts.cend()));
    }

    // Runs after a catalogue was loaded, so a language without one must also drop the old one.
    void layoutDirectionFollowsLanguage_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<Qt::LayoutDirection>("direction");
        QTest::addColumn<QString>("cancel");
        QTest::newRow("ar, no catalogue")
            << QStringLiteral("ar") << Qt::RightToLeft << QStringLiteral("Cancel");
        QTest::newRow("de") << QStringLiteral("de") << Qt::LeftToRight
                            << QStringLiteral("Abbrechen");
    }

    void layoutDirectionFollowsLanguage()
    {
        QFETCH(QString, language);
        QFETCH(Qt::LayoutDirection, direction);
        QFETCH(QString, cancel);
        TernResourceMgr::instance()->setCurrentLanguage(language);
        // Installing a catalogue posts a language change, which must not undo the direction.
        QCoreApplication::sendPostedEvents(qApp, QEvent::LanguageChange);
        QCOMPARE(QGuiApplication::layoutDirection(), direction);
        QCOMPARE(QCoreApplication::translate("UnInstallWindow", "Cancel"), cancel);
    }

    void windowShowsGerman()
    {
        // The catalogue's texts are checked here, not the product's brand texts that override them.
        const QString brandFile = TestEnv::installDir() + QStringLiteral("/brand_recommend.json");
        QFile::rename(brandFile, brandFile + QStringLiteral(".away"));
        const auto restore
            = qScopeGuard([&] { QFile::rename(brandFile + QStringLiteral(".away"), brandFile); });
        TernResourceMgr::instance()->setCurrentLanguage(QStringLiteral("de"));
        TestEnv::setExtendParam(QStringLiteral("uninstallTest"), QStringLiteral("1"));
        auto wizard = std::make_unique<Uninstall>();
        // Feature frames reuse the form's names, so a text is looked up below its frame.
        const auto text = [&wizard](const char* name, const char* frame = nullptr) {
            const QWidget* scope
                = frame ? wizard->findChild<QWidget*>(QLatin1String(frame)) : wizard.get();
            if (const auto* label
                = scope ? scope->findChild<QLabel*>(QLatin1String(name)) : nullptr)
                return label->text();
            if (const auto* button
                = scope ? scope->findChild<QAbstractButton*>(QLatin1String(name)) : nullptr)
                return button->text();
            return QStringLiteral("<no %1>").arg(QLatin1String(name));
        };
        QCOMPARE(text("titleLab"), QStringLiteral("Tern Converter deinstallieren"));
        QCOMPARE(text("btnContinue_1"), QStringLiteral("Weiter"));
        QCOMPARE(text("btnCancel_3"), QStringLiteral("Abbrechen"));
        QCOMPARE(text("btnUpdate"), QStringLiteral("Jetzt aktualisieren"));
        QCOMPARE(text("label_3", "frameEmail"), QStringLiteral("E-Mail:"));
        QCOMPARE(text("lblText1", "frmInfo"), QStringLiteral("1000+ Formate"));
        QCOMPARE(text("lblText1", "frmUpdateInfo"), QStringLiteral("Stärkere Funktionen"));
        QCOMPARE(text("label_3", "FrmUser"), QStringLiteral("Nutzer"));
        QVERIFY2(text("purchaseBtn").contains(QStringLiteral(">20%</span> Rabatt kaufen")),
            qPrintable(text("purchaseBtn")));
        QVERIFY2(text("purchaseLab").contains(QStringLiteral("Rabatt aller Zeiten")),
            qPrintable(text("purchaseLab")));
        QVERIFY(!text("updateTipLab").contains(QStringLiteral("%1")));
        QCOMPARE(wizard->findChild<QTextEdit*>(QStringLiteral("causeEdit"))->placeholderText(),
            QStringLiteral("Ihre Vorschläge oder Fragen (optional)"));
    }

private:
    UninstallContext m_context;
};

UNINSTALL_TEST_MAIN(TestTranslations)
#include "tst_translations.moc"
