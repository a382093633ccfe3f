// What the pages hold: the reason page's causes, the choice that Continue waits for and the
// cause keys that the first report reads back; the purchase offer's discount, pictures and buy
// actions; the update offer's "Upgrade Now", which starts the downloaded updater and ends the
// wizard.

#include "testenvironment.h"
#include "testfiles.h"
#include "wizardrunner.h"

#include "content/uninstallprofile.h"
#include "content/updaterlocation.h"
#include "entry/uninstallaborted.h"
#include "entry/uninstallcontext.h"
#include "entry/uninstallsingleinstance.h"
#include "wizard/uninstall.h"

#include "platform.h"
#include "ternproductinfo.h"
#include "ternresourcemgr.h"
#include "ternsettings.h"

#include <QtTest>
#include <QtWidgets>

using namespace WizardRunner;

const QString kSkin = QStringLiteral(
    "Uninstall { qproperty-textColor: '#111111*#222222'; qproperty-textWeight: '700*600'; "
    "qproperty-lineHeight: '150%'; qproperty-fontSize: 16; qproperty-fontWeight: 700; "
    "qproperty-clrTitleText: '#ff5a36'; qproperty-fontPurchaseSize: 22; }");

class TestPageContent : public QObject {
    Q_OBJECT

    UninstallContext m_context;
    UrlRecorder m_browser;
    QTemporaryDir m_markers { QDir::tempPath() + QStringLiteral("/updater marker XXXXXX") };
    std::unique_ptr<Uninstall> m_wizard;

    // The wizard at `page`, with the events sent on the way gone.
    Uninstall* openAt(Page page)
    {
        m_wizard = showWizard(true);
        if (!walkTo(m_wizard.get(), page))
            return nullptr;
        TestEnv::clearAnalyticsEvents();
        return m_wizard.get();
    }

    // The five boxes in form order, before a delivery renames them.
    QList<QCheckBox*> boxes() const
    {
        return child(m_wizard.get(), "optionFrame")->findChildren<QCheckBox*>();
    }

    void deliver(bool exclusive, const QString& keys, const QMap<QString, QString>& texts = {})
    {
        emit m_wizard->contentProfile()->uninstallCauseEmit(exclusive,
            keys.split(QLatin1Char(','), Qt::SkipEmptyParts).toVector(), texts,
            QStringLiteral("50 million"));
    }

    bool continueEnabled() const { return child(m_wizard.get(), "btnContinue_2")->isEnabled(); }

private slots:
    void initTestCase()
    {
        QVERIFY(m_markers.isValid());
        setUpHost(&m_context);
        QVERIFY(TestEnv::dataLocation().contains(QLatin1Char(' ')));
    }

    // Reaching the uninstalling page makes sure the guard exists; its segment must not outlive
    // the test.
    void cleanupTestCase() { UninstallSingleInstance::destroy(); }

    void init()
    {
        qApp->setStyleSheet(kSkin);
        m_context.discount = 0;
        m_browser.opened.clear();
        TestEnv::clearLog();
    }

    void cleanup()
    {
        m_wizard.reset();
        TernResourceMgr::instance()->setCurrentLanguage(QStringLiteral("en"));
        TernSettings::instance()->setLanguage(QStringLiteral("en"));
        QVERIFY(QApplication::topLevelWidgets().isEmpty());
    }

    void causesApplied_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<int>("textCount");
        QTest::newRow("five keys, three texts") << QStringLiteral("a,b,c,d,e") << 3;
        QTest::newRow("three keys") << QStringLiteral("a,b,c") << 3;
        QTest::newRow("no keys") << QString() << 0;
    }

    void causesApplied()
    {
        QFETCH(QString, keys);
        QFETCH(int, textCount);
        m_wizard = showWizard(true);
        const auto box = boxes();
        const QStringList keyList = keys.split(QLatin1Char(','), Qt::SkipEmptyParts);
        QMap<QString, QString> texts;
        for (const QString& key : keyList.mid(0, textCount))
            texts.insert(key, key.toUpper());
        deliver(true, keys, texts);
        for (int i = 0; i < 5; ++i) {
            const bool keyed = i < keyList.size();
            QCOMPARE(box.at(i)->objectName(),
                keyed ? keyList.at(i) : QStringLiteral("option_%1").arg(i + 1));
            QCOMPARE(box.at(i)->text(), texts.value(keyList.value(i)));
            QCOMPARE(box.at(i)->isEnabled(), keyed);
        }
        QVERIFY(child(m_wizard.get(), "causeEdit")->isEnabled() && !continueEnabled());
        QVERIFY(child<QLabel>(m_wizard.get(), "hintLab")
                    ->text()
                    .contains(QStringLiteral("color:#222222;'>50 million</span> users")));
    }

    // Continue needs a ticked box; one cause or several, as the delivery says. A new delivery
    // replaces the group and unticks a box whose cause went, exclusive group or not.
    void choice_data()
    {
        QTest::addColumn<bool>("exclusive");
        QTest::newRow("one cause") << true;
        QTest::newRow("several causes") << false;
    }

    void choice()
    {
        QFETCH(bool, exclusive);
        m_wizard = showWizard(true);
        const auto box = boxes();
        deliver(exclusive, QStringLiteral("a,b,c,d,e"));
        box.at(0)->click();
        QVERIFY(continueEnabled());
        box.at(3)->click();
        QCOMPARE(box.at(0)->isChecked(), !exclusive);
        QVERIFY(box.at(3)->isChecked() && continueEnabled());
        if (!exclusive) {
            box.at(0)->click();
            box.at(3)->click();
            QVERIFY(!continueEnabled());
            return;
        }
        QButtonGroup* first = box.at(0)->group();
        deliver(true, QStringLiteral("v,w,x"), { { QStringLiteral("v"), QStringLiteral("New") } });
        QCOMPARE(box.at(0)->text(), QStringLiteral("New"));
        QCOMPARE(box.at(3)->objectName(), QStringLiteral("option_4"));
        QVERIFY(!box.at(3)->isChecked() && !continueEnabled());
        QButtonGroup* second = box.at(0)->group();
        QVERIFY(second && second != first && second->exclusive() && box.at(2)->group() == second);
        box.at(0)->click();
        box.at(2)->click();
        QVERIFY(!box.at(0)->isChecked() && continueEnabled());
    }

    // Each box's key, ticked or not ("c" is), then the note; a box without a cause by its own
    // name. (tst_reportdelivery reads five causes back from a whole run.)
    void reportCarriesTheCauseKeys()
    {
        const QStringList keys { "a", "b", "c" };
        m_wizard = showWizard(true);
        QVERIFY(walkTo(m_wizard.get(), Reason, keys));
        child<QTextEdit>(m_wizard.get(), "causeEdit")->setPlainText(QStringLiteral("a note"));
        QVERIFY(walkTo(m_wizard.get(), Uninstalling, keys));
        QVERIFY(m_wizard->firstReport().contains(R"("uninstallCause":[{"a":false},{"b":false},)"
                                                 R"({"c":true},{"option_4":false},)"
                                                 R"({"option_5":false},"a note"])"));
    }

    // The discount: the host's when it gives one, else the price file's for the language, else
    // 20; the offer's texts show it in the skin's style.
    void discount_data()
    {
        QTest::addColumn<QByteArray>("prices");
        QTest::addColumn<int>("hostDiscount");
        QTest::addColumn<QString>("language");
        QTest::addColumn<int>("price"); // what the file says for English
        QTest::addColumn<int>("discount");
        QTest::addColumn<QString>("logged");
        const char* const both = R"({"en": "35", "de": "40"})";
        const auto row = [](const char* name, const char* prices, int host, const char* language,
                             int price, int discount, const char* logged = nullptr) {
            QTest::newRow(name) << QByteArray(prices) << host << QString(language) << price
                                << discount << QString(logged);
        };
        row("string value", both, 0, "en", 35, 35);
        row("language's own", both, 0, "de", 35, 40);
        row("language without one", both, 0, "it", 35, 35);
        row("number value", R"({"en": 30})", 0, "en", -1, 20);
        row("zero", R"({"en": "0"})", 0, "en", 0, 20);
        row("negative", R"({"en": "-5"})", 0, "en", -1, 20);
        row("over 100", R"({"en": "150"})", 0, "en", -1, 20);
        row("not a number", R"({"en": "half"})", 0, "en", -1, 20);
        row("other language only", R"({"de": "40"})", 0, "en", -1, 20);
        row("not an object", R"(["35"])", 0, "en", -1, 20);
        row("missing file", nullptr, 0, "en", -1, 20, "price.json file open error! will return!");
        row("broken JSON", R"({"en": "35")", 0, "en", -1, 20, "parseJsonErr.error");
        row("host over price", both, 45, "en", 35, 45);
        row("host, file not read", nullptr, 45, "en", -1, 45);
    }

    void discount()
    {
        QFETCH(QByteArray, prices);
        QFETCH(int, hostDiscount);
        QFETCH(QString, language);
        QFETCH(int, discount);
        QFETCH(QString, logged);
        const QString file
            = TestEnv::resourceRoot() + QStringLiteral("/uninstallConfig/price.json");
        QFile::remove(file);
        if (!prices.isNull())
            QVERIFY(TestEnv::writeFile(file, prices));
        m_context.discount = hostDiscount;
        TernResourceMgr::instance()->setCurrentLanguage(language);
        m_wizard = showWizard(true);
        TernResourceMgr::instance()->setCurrentLanguage(QStringLiteral("en"));
        QCOMPARE(m_wizard->discount(), discount);
        QCOMPARE(TestEnv::logMessages(QStringLiteral("Uninstall")),
            logged.isEmpty() ? QStringList() : QStringList { logged });
        QTEST(m_wizard->readPrice(QStringLiteral("en")), "price");

        const auto text
            = [this](const char* label) { return child<QLabel>(m_wizard.get(), label)->text(); };
        const QString figure = QString::number(discount) + QLatin1Char('%');
        QVERIFY(text("purchaseBtn")
                    .contains(QStringLiteral("font-size:16pt; font-weight:700; color:#ff5a36;\">")
                        + figure + QStringLiteral("</span>")));
        const QString offer = text("purchaseLab");
        QVERIFY(offer.contains(QStringLiteral("font-size:22pt; font-weight:700; color:#111111;'>-"))
            && offer.contains(figure) && offer.contains(QStringLiteral("line-height: 150%")));
        QVERIFY(text("updateTipLab").contains(QStringLiteral("line-height: 150%")));
    }

    // The banner shown: the download when it is a usable picture, else the shipped one of the
    // wizard's language, else the product's default language's (with nothing downloaded, that
    // is tst_contentwindow's).
    void pictures_data()
    {
        QTest::addColumn<QString>("language");
        // What lies where the banner is downloaded to: nothing, bytes or "FIFO", a FIFO.
        QTest::addColumn<QByteArray>("downloaded");
        QTest::addColumn<QString>("shown"); // "downloaded", or the shipped picture's language
        QTest::newRow("downloaded, language as it is")
            << "pt-BR" << TestFiles::png() << "downloaded";
        QTest::newRow("shipped, own language") << "de" << QByteArray() << "de";
        QTest::newRow("FIFO in its place") << "pt-BR" << QByteArray("FIFO") << "en";
        QTest::newRow("declares 20000 x 20000")
            << "pt-BR" << TestFiles::pngDeclaring(20000, 20000) << "en";
    }

    void pictures()
    {
        QFETCH(QString, language);
        QFETCH(QByteArray, downloaded);
        QFETCH(QString, shown);
        TernResourceMgr::instance()->setCurrentLanguage(language);
        TernSettings::instance()->setLanguage(language);
        QDir(TestEnv::dataLocation() + QStringLiteral("/uninstallRes")).removeRecursively();
        const QString banner = TestEnv::dataLocation()
            + QStringLiteral("/uninstallRes/banner_pic_%1.png").arg(language);
        if (downloaded == "FIFO")
            QVERIFY(TestFiles::makeFifo(banner));
        else if (!downloaded.isNull())
            QVERIFY(TestEnv::writeFile(banner, downloaded));
        Uninstall* wizard = openAt(Home);
        QVERIFY(wizard);

        const QString shipped = TestEnv::resourceRoot() + QStringLiteral("/uninstallConfig/%1_pic/")
            + (shown == QLatin1String("downloaded") ? QStringLiteral("en") : shown)
            + QStringLiteral(".png");
        const QString sheet = QStringLiteral("Uninstall #%1{border-image: url(%2) 0;}");
        QCOMPARE(child(wizard, "discountBg")->styleSheet(),
            sheet.arg(QStringLiteral("discountBg"),
                shown == QLatin1String("downloaded") ? banner : shipped.arg("banner")));
        QCOMPARE(child(wizard, "purchaseImg")->styleSheet(),
            sheet.arg(QStringLiteral("purchaseImg"), shipped.arg("promotion")));
    }

    // What a press and release on the offer's pictures open and report; nothing at the end of
    // a drag.
    void pressAndRelease_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("target");
        QTest::addColumn<bool>("drag");
        QTest::addColumn<QString>("shownDown"); // the button that looks pressed meanwhile
        QTest::addColumn<int>("openedOnPress");
        QTest::addColumn<int>("openedOnRelease");
        QTest::addColumn<QString>("buy"); // the button the buy events name
        QTest::newRow("banner") << int(Reason) << "discountBg" << false << "btnDiscount" << 0 << 1
                                << "bannerandbuy";
        QTest::newRow("banner, dragged")
            << int(Reason) << "discountBg" << true << "btnDiscount" << 0 << 0 << "";
        QTest::newRow("Buy Now with frame")
            << int(Home) << "frmPurchaseBtn" << false << "" << 1 << 1 << "buy";
        QTest::newRow("promotion picture")
            << int(Home) << "purchaseImg" << false << "purchaseBtn1" << 0 << 0 << "";
    }

    void pressAndRelease()
    {
        QFETCH(int, page);
        QFETCH(QString, target);
        QFETCH(bool, drag);
        QFETCH(QString, shownDown);
        QFETCH(QString, buy);
        Uninstall* wizard = openAt(Page(page));
        QVERIFY(wizard);
        QWidget* widget = child(wizard, qPrintable(target));
        QVERIFY(widget->isVisible());
        // The banner's own button sits at its right end: press beside it.
        QPoint at = widget->mapTo(wizard,
            target == QLatin1String("discountBg") ? QPoint(2, widget->height() / 2)
                                                  : widget->rect().center());
        auto* down
            = shownDown.isEmpty() ? nullptr : child<QPushButton>(wizard, qPrintable(shownDown));

        QTest::mousePress(wizard->windowHandle(), Qt::LeftButton, {}, at);
        QTEST(m_browser.opened.size(), "openedOnPress");
        QVERIFY(!down || down->isDown());
        if (drag) {
            at += QPoint(30, 0);
            QTest::mouseMove(wizard->windowHandle(), at);
            QVERIFY(wizard->isDragging());
        }
        QTest::mouseRelease(wizard->windowHandle(), Qt::LeftButton, {}, at);
        QVERIFY(!down || !down->isDown());
        QFETCH(int, openedOnRelease);
        const QUrl purchasePage(TernProductInfo::instance()->purchaseUrl(QString(), nullptr));
        QCOMPARE(m_browser.opened, QVector<QUrl>(openedOnRelease, purchasePage).toList());
        QStringList events;
        if (!buy.isEmpty())
            events << QStringLiteral("offload_retention|btn_%1|1||0").arg(buy)
                   << QStringLiteral("openpurchasebehavior|openpurchaseurl|1|uninstall_btn_%1|0")
                          .arg(buy);
        if (!drag)
            QCOMPARE(analytics({ "category", "action", "type", "label", "value" }), events);
        QCOMPARE(where(wizard), page == Home ? QStringLiteral("1.0 0") : QStringLiteral("2.0 0"));
        if (drag) {
            startDragging(wizard);
            child<QPushButton>(wizard, "purchaseBtn1")->click();
            QVERIFY(m_browser.opened.isEmpty());
        }
    }

    void upgradeNow_data()
    {
        QTest::addColumn<QString>("productName");
        QTest::addColumn<bool>("downloaded");
        QTest::newRow("updater") << QStringLiteral("Tern Converter") << true;
        QTest::newRow("name with more spaces") << QStringLiteral("Tern  Converter Pro 2") << true;
        QTest::newRow("updater not downloaded") << QStringLiteral("Tern Converter") << false;
    }

    // Whatever spaces its path holds, the updater starts, without arguments; the wizard ends
    // with nothing removed, no page-end event and no report.
    void upgradeNow()
    {
        QFETCH(QString, productName);
        QFETCH(bool, downloaded);
        uninstallAborted = false;
        const QString marker = m_markers.filePath(QStringLiteral("updater ran.txt"));
        QFile::remove(marker);
        TestEnv::updateProduct({ { QStringLiteral("name"), productName } });
        const QString updater = TestEnv::dataLocation() + QStringLiteral("/updater/")
            + Platform::executableFileName(productName);
        QCOMPARE(updaterPath(), updater);
        QFile::remove(updater);
        // A stand-in updater that writes how many arguments it got and the path it ran as.
        if (downloaded) {
            QVERIFY(TestEnv::writeFile(updater,
                QStringLiteral("#!/bin/sh\nprintf '%s\\n' \"$#\" \"$0\" > \"%1\"\n")
                    .arg(marker)
                    .toUtf8()));
            QVERIFY(QFile::setPermissions(
                updater, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        }
        Uninstall* wizard = openAt(UpdateOffer);
        QVERIFY(wizard);
        QVERIFY(quitsOn([&] { child<QAbstractButton>(wizard, "btnUpdate")->click(); }));
        QVERIFY(uninstallAborted);
        QVERIFY(analytics({ "action" }).filter(QStringLiteral("show_end")).isEmpty());
        QVERIFY(wizard->firstReport().isEmpty() && wizard->secondReport().isEmpty());
        const auto ranAs = [&marker] {
            QFile ran(marker);
            return ran.open(QIODevice::ReadOnly) ? QString::fromUtf8(ran.readAll()) : QString();
        };
        QTRY_COMPARE(
            ranAs(), downloaded ? QStringLiteral("0\n") + updater + QLatin1Char('\n') : QString());
    }
};

UNINSTALL_TEST_MAIN(TestPageContent)
#include "tst_pagecontent.moc"
