#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <string>
#include <vector>

#include "media/widgets/link_opener.h"
#include "media/widgets/simple_label.h"

using travoli::LinkOpener;
using travoli::TJumpMode;
using travoli::TSimpleLabel;

namespace {

const QColor kBlue(0, 0, 255);
const QColor kPurple(128, 0, 128);
const QColor kBlack(0, 0, 0);

class RecordingOpener : public LinkOpener {
  public:
    void Open(const std::string& target, std::function<void(bool ok)> done) override {
        targets.push_back(target);
        if (answerLater) {
            pending = std::move(done);
        } else {
            done(answer);
        }
    }
    std::vector<std::string> targets;
    bool answer = true;
    bool answerLater = false;
    std::function<void(bool)> pending;
};

// The opener that Load gives a label, as a window hands its labels the one it was given.
std::shared_ptr<LinkOpener> loadOpener;

// Sets a label up the way a window's layout does: everything while loading.
void Load(TSimpleLabel& label, const QString& caption, const QString& jump, TJumpMode mode) {
    label.SetLoading(true);
    label.SetOpener(loadOpener);
    label.move(196, 96);
    QFont font;
    font.setPixelSize(11);
    font.setUnderline(true);
    font.setStyleStrategy(QFont::NoAntialias);
    label.SetFont(font);
    label.SetFontColor(kBlue);
    label.SetCaption(caption);
    label.SetJump(jump);
    label.SetJumpMode(mode);
    label.SetLoading(false);
}

// Whether any pixel of the picture has exactly this colour.
bool HasPixel(const QImage& image, const QColor& colour) {
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (QColor(image.pixel(x, y)) == colour) {
                return true;
            }
        }
    }
    return false;
}

// Puts a directory in front of PATH for the lifetime of the object.
class PathPrefix {
  public:
    explicit PathPrefix(const QString& dir) : saved_(qgetenv("PATH")) {
        qputenv("PATH", (dir + ":").toLocal8Bit() + saved_);
    }
    ~PathPrefix() { qputenv("PATH", saved_); }

  private:
    QByteArray saved_;
};

void WriteScript(const QString& path, const QByteArray& body) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("#!/bin/sh\n" + body);
    file.close();
    QVERIFY(file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
}

}  // namespace

class SimpleLabelTest : public QObject {
    Q_OBJECT

  private slots:
    void init() {
        opener_ = std::make_shared<RecordingOpener>();
        loadOpener = opener_;
    }
    void cleanup() { loadOpener.reset(); }

    void defaults() {
        TSimpleLabel label;
        QCOMPARE(label.JumpMode(), TJumpMode::jmNone);
        QCOMPARE(label.InActiveColor(), kBlue);
        QCOMPARE(label.ActiveColor(), kPurple);
        QVERIFY(label.JumpUnderline());
        QVERIFY(label.Transparent());
        QVERIFY(label.AutoSize());
        QVERIFY(label.ShowAccelChar());
        QVERIFY(label.Jump().isEmpty());
    }

    void loadedLinksAreBlueUnderlinedWithAHand_data() {
        QTest::addColumn<int>("mode");
        QTest::newRow("internet") << int(TJumpMode::jmInternet);
        QTest::newRow("application") << int(TJumpMode::jmApplication);
        QTest::newRow("custom") << int(TJumpMode::jmCustom);
    }

    void loadedLinksAreBlueUnderlinedWithAHand() {
        QFETCH(int, mode);
        TSimpleLabel label;
        label.SetLoading(true);
        QFont plain;
        plain.setUnderline(false);
        label.SetFont(plain);
        label.SetFontColor(kBlack);
        label.SetJumpMode(static_cast<TJumpMode>(mode));
        label.SetLoading(false);
        QCOMPARE(label.FontColor(), kBlue);
        QVERIFY(label.Font().underline());
        QCOMPARE(label.cursor().shape(), Qt::PointingHandCursor);
    }

    void modeChangesOnAShownLabel() {
        QWidget window;
        auto* label = new TSimpleLabel(&window);
        Load(*label, "www.example.org", "", TJumpMode::jmInternet);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTest::mousePress(label, Qt::LeftButton, {}, QPoint(2, 2));
        QCOMPARE(label->FontColor(), kPurple);

        label->SetJumpMode(TJumpMode::jmNone);
        QCOMPARE(label->FontColor(), kBlack);
        QVERIFY(!label->Font().underline());
        QCOMPARE(label->cursor().shape(), Qt::ArrowCursor);
        QVERIFY(!label->testAttribute(Qt::WA_SetCursor));

        label->SetJumpMode(TJumpMode::jmInternet);
        QCOMPARE(label->FontColor(), kBlue);
        QVERIFY(label->Font().underline());
        QCOMPARE(label->cursor().shape(), Qt::PointingHandCursor);
    }

    void modeChangeRules_data() {
        QTest::addColumn<bool>("loading");
        QTest::addColumn<bool>("underline_rule");
        QTest::addColumn<QColor>("colour");
        QTest::addColumn<bool>("underlined");
        QTest::addColumn<Qt::CursorShape>("cursor");
        // From a followed jmInternet link to jmNone.
        QTest::newRow("shown") << false << true << kBlack << false << Qt::ArrowCursor;
        QTest::newRow("while loading") << true << true << kPurple << true << Qt::PointingHandCursor;
        QTest::newRow("no underline rule") << false << false << kBlack << true << Qt::ArrowCursor;
    }

    void modeChangeRules() {
        QFETCH(bool, loading);
        QFETCH(bool, underline_rule);
        QFETCH(QColor, colour);
        QFETCH(bool, underlined);
        QFETCH(Qt::CursorShape, cursor);
        TSimpleLabel label;
        Load(label, "x", "http://a.example/", TJumpMode::jmInternet);
        label.FollowLink();
        label.SetLoading(loading);
        label.SetJumpUnderline(underline_rule);
        label.SetJumpMode(TJumpMode::jmNone);
        QCOMPARE(label.FontColor(), colour);
        QCOMPARE(label.Font().underline(), underlined);
        QCOMPARE(label.cursor().shape(), cursor);
    }

    void settingTheSameModeChangesNothing() {
        TSimpleLabel label;
        Load(label, "x", "", TJumpMode::jmInternet);
        label.FollowLink();
        label.SetJumpMode(TJumpMode::jmInternet);
        QCOMPARE(label.FontColor(), kPurple);
        label.SetJumpUnderline(false);
        label.SetJumpMode(TJumpMode::jmCustom);  // another link mode: blue, underline left alone
        QCOMPARE(label.FontColor(), kBlue);
        QVERIFY(label.Font().underline());
    }

    void pressTurnsALinkPurpleForGood_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("button");
        QTest::addColumn<QColor>("after");
        QTest::newRow("left on link")
            << int(TJumpMode::jmInternet) << int(Qt::LeftButton) << kPurple;
        QTest::newRow("left on custom")
            << int(TJumpMode::jmCustom) << int(Qt::LeftButton) << kPurple;
        QTest::newRow("right on link")
            << int(TJumpMode::jmInternet) << int(Qt::RightButton) << kBlue;
        QTest::newRow("middle on link")
            << int(TJumpMode::jmInternet) << int(Qt::MiddleButton) << kBlue;
        QTest::newRow("left on plain") << int(TJumpMode::jmNone) << int(Qt::LeftButton) << kBlue;
    }

    void pressTurnsALinkPurpleForGood() {
        QFETCH(int, mode);
        QFETCH(int, button);
        QFETCH(QColor, after);
        QWidget window;
        auto* label = new TSimpleLabel(&window);
        Load(*label, "me@example.org", "", static_cast<TJumpMode>(mode));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const auto b = static_cast<Qt::MouseButton>(button);
        QTest::mousePress(label, b, {}, QPoint(3, 3));
        QCOMPARE(label->FontColor(), after);
        QTest::mouseRelease(label, b, {}, QPoint(3, 3));
        QCOMPARE(label->FontColor(), after);
        // Hidden and shown again, as the info dialog is.
        window.hide();
        window.show();
        QCOMPARE(label->FontColor(), after);
        if (b != Qt::LeftButton) {
            QVERIFY(opener_->targets.empty());
        }
    }

    void clickOpensTheTarget_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("jump");
        QTest::addColumn<QString>("target");  // empty: nothing opened, OnClick instead
        const int internet = int(TJumpMode::jmInternet);
        const int application = int(TJumpMode::jmApplication);
        QTest::newRow("jump with trailing blank") << internet << "home "
                                                  << "http://home.example/ "
                                                  << "http://home.example/ ";
        QTest::newRow("jump with leading blank") << internet << "home"
                                                 << " http://home.example/"
                                                 << " http://home.example/";
        QTest::newRow("empty jump, address caption") << internet << "me@example.org"
                                                     << ""
                                                     << "mailto:me@example.org";
        QTest::newRow("empty jump, plain caption") << internet << "www.example.org"
                                                   << ""
                                                   << "www.example.org";
        QTest::newRow("blank jump counts as empty") << internet << "www.example.org"
                                                    << "   "
                                                    << "www.example.org";
        QTest::newRow("blanks and controls count as empty") << internet << "me@example.org"
                                                            << " \t\r\n "
                                                            << "mailto:me@example.org";
        QTest::newRow("application has no mail rule") << application << "me@example.org"
                                                      << ""
                                                      << "me@example.org";
        QTest::newRow("application uses jump") << application << "x"
                                               << "tool --a"
                                               << "tool --a";
        QTest::newRow("custom raises OnClick") << int(TJumpMode::jmCustom) << "x"
                                               << "http://a/"
                                               << "";
        QTest::newRow("none raises OnClick") << int(TJumpMode::jmNone) << "x"
                                             << "http://a/"
                                             << "";
    }

    void clickOpensTheTarget() {
        QFETCH(int, mode);
        QFETCH(QString, caption);
        QFETCH(QString, jump);
        QFETCH(QString, target);
        QWidget window;
        auto* label = new TSimpleLabel(&window);
        Load(*label, caption, jump, static_cast<TJumpMode>(mode));
        QSignalSpy clicks(label, &TSimpleLabel::OnClick);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTest::mouseClick(label, Qt::LeftButton, {}, QPoint(2, 2));
        if (target.isEmpty()) {
            QVERIFY(opener_->targets.empty());
            QCOMPARE(clicks.count(), 1);
        } else {
            QCOMPARE(opener_->targets, std::vector<std::string>{target.toStdString()});
            QCOMPARE(clicks.count(), 0);
        }
    }

    void pressReleasedOutsideIsNoClick() {
        QWidget window;
        window.resize(400, 200);
        auto* label = new TSimpleLabel(&window);
        Load(*label, "www.example.org", "", TJumpMode::jmInternet);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTest::mousePress(label, Qt::LeftButton, {}, QPoint(2, 2));
        QTest::mouseRelease(label, Qt::LeftButton, {}, QPoint(-20, 2));
        QVERIFY(opener_->targets.empty());
        QCOMPARE(label->FontColor(), kPurple);
    }

    void followLinkWorksOnAHiddenLabel() {
        QWidget window;
        auto* label = new TSimpleLabel(&window);
        Load(*label, "vemLabel", "http://home.example/", TJumpMode::jmInternet);
        label->move(380, 388);
        label->hide();
        label->FollowLink();
        label->FollowLink();
        QCOMPARE(opener_->targets,
                 (std::vector<std::string>{"http://home.example/", "http://home.example/"}));
        QCOMPARE(label->FontColor(), kPurple);
        QVERIFY(label->isEnabled());
    }

    void failedOpenMakesADisabledPlainLabel_data() {
        QTest::addColumn<bool>("later");
        QTest::newRow("reported at once") << false;
        QTest::newRow("reported later") << true;
    }

    void failedOpenMakesADisabledPlainLabel() {
        QFETCH(bool, later);
        TSimpleLabel label;
        Load(label, "vemLabel", "http://home.example/", TJumpMode::jmInternet);
        opener_->answer = false;
        opener_->answerLater = later;
        label.FollowLink();
        if (later) {
            QVERIFY(label.isEnabled());
            opener_->pending(false);
        }
        QCOMPARE(label.JumpMode(), TJumpMode::jmNone);
        QVERIFY(!label.isEnabled());
        // Silently: colour and pointer stay those of a followed link.
        QCOMPARE(label.FontColor(), kPurple);
        QCOMPARE(label.cursor().shape(), Qt::PointingHandCursor);
        QVERIFY(label.Font().underline());
        label.FollowLink();
        label.FollowLink();
        QCOMPARE(opener_->targets.size(), 1u);
        QCOMPARE(label.FontColor(), kPurple);
    }

    void anOpenInFlightStartsNoOther_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("ok");
        QTest::newRow("internet, opened") << int(TJumpMode::jmInternet) << true;
        QTest::newRow("internet, failed") << int(TJumpMode::jmInternet) << false;
        QTest::newRow("application, failed") << int(TJumpMode::jmApplication) << false;
    }

    // A slow opener: further follows while it runs start nothing; its outcome decides.
    void anOpenInFlightStartsNoOther() {
        QFETCH(int, mode);
        QFETCH(bool, ok);
        TSimpleLabel label;
        Load(label, "vemLabel", "http://home.example/", static_cast<TJumpMode>(mode));
        opener_->answerLater = true;
        for (int click = 0; click < 5; ++click) {
            label.FollowLink();
        }
        QCOMPARE(opener_->targets.size(), 1u);
        opener_->pending(ok);
        const bool stillLink = ok || mode == int(TJumpMode::jmApplication);
        QCOMPARE(label.isEnabled(), stillLink);
        label.FollowLink();
        QCOMPARE(opener_->targets.size(), stillLink ? 2u : 1u);
    }

    void applicationFailureGoesUnnoticed() {
        TSimpleLabel label;
        Load(label, "tool", "", TJumpMode::jmApplication);
        opener_->answer = false;
        label.FollowLink();
        label.FollowLink();
        QCOMPARE(opener_->targets.size(), 2u);
        QCOMPARE(label.JumpMode(), TJumpMode::jmApplication);
        QVERIFY(label.isEnabled());
    }

    void lateFailureAfterTheLabelIsGone() {
        opener_->answerLater = true;
        {
            TSimpleLabel label;
            Load(label, "x", "http://home.example/", TJumpMode::jmInternet);
            label.FollowLink();
        }
        opener_->pending(false);  // must not touch the destroyed label
        QCOMPARE(opener_->targets.size(), 1u);
    }

    void ownOpenerComesFirst() {
        auto own = std::make_shared<RecordingOpener>();
        TSimpleLabel label;
        Load(label, "x", "http://own.example/", TJumpMode::jmInternet);
        label.SetOpener(own);
        label.FollowLink();
        QCOMPARE(own->targets.size(), 1u);
        QVERIFY(opener_->targets.empty());
    }

    void autoSizeFollowsTheCaption_data() {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("plain");  // the same width without accelerators; empty: none
        QTest::newRow("accelerator takes no room") << "&File"
                                                   << "File";
        QTest::newRow("double ampersand is one") << "a&&b"
                                                 << "a&b";
        QTest::newRow("lone double ampersand") << "&&"
                                               << "&";
        QTest::newRow("tab expanded") << "a\tb"
                                      << "";
    }

    void autoSizeFollowsTheCaption() {
        QFETCH(QString, caption);
        QFETCH(QString, plain);
        TSimpleLabel label;
        Load(label, caption, "", TJumpMode::jmInternet);
        QCOMPARE(label.pos(), QPoint(196, 96));
        QCOMPARE(label.size(), label.CaptionExtent());
        if (plain.isEmpty()) {
            QVERIFY(label.width() > QFontMetrics(label.Font()).horizontalAdvance("ab") + 4);
            return;
        }
        TSimpleLabel other;
        other.SetShowAccelChar(false);
        Load(other, plain, "", TJumpMode::jmInternet);
        QCOMPARE(label.width(), other.width());
    }

    void autoSizeKeepsTrailingBlankAndWaitsForLoading() {
        TSimpleLabel label;
        Load(label, "http://home.example/", "", TJumpMode::jmInternet);
        const QSize bare = label.size();
        label.SetCaption("http://home.example/ ");
        QVERIFY(label.width() > bare.width());
        QCOMPARE(label.pos(), QPoint(196, 96));

        label.SetLoading(true);
        label.resize(61, 18);
        label.SetCaption("vemLabel");
        QCOMPARE(label.size(), QSize(61, 18));
        label.SetLoading(false);
        QCOMPARE(label.size(), label.CaptionExtent());

        label.SetAutoSize(false);
        label.resize(10, 10);
        label.SetCaption("a much longer caption");
        QCOMPARE(label.size(), QSize(10, 10));
    }

    void paintsFillTextAndGrey() {
        QWidget window;
        window.resize(400, 200);
        QPalette pal = window.palette();
        pal.setColor(QPalette::Window, QColor(212, 208, 200));
        window.setPalette(pal);
        auto* label = new TSimpleLabel(&window);
        Load(*label, "WWW", "", TJumpMode::jmInternet);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(label->Color(), QColor(212, 208, 200));  // the parent's

        label->SetTransparent(false);
        label->SetColor(QColor(1, 2, 3));
        QImage image = label->grab().toImage();
        QCOMPARE(QColor(image.pixel(image.width() - 1, 0)), QColor(1, 2, 3));
        QVERIFY(HasPixel(image, kBlue));

        label->FollowLink();
        image = label->grab().toImage();
        QVERIFY(HasPixel(image, kPurple));
        QVERIFY(!HasPixel(image, kBlue));

        label->setEnabled(false);
        image = label->grab().toImage();
        const QColor grey = label->palette().color(QPalette::Disabled, QPalette::Text);
        QVERIFY(grey != kPurple);
        QVERIFY(HasPixel(image, grey));
        QVERIFY(!HasPixel(image, kPurple));
    }

    void accelCharsPaintAsTheRuleSays() {
        auto picture = [](const QString& caption, bool accel) {
            TSimpleLabel label;
            label.SetShowAccelChar(accel);
            Load(label, caption, "", TJumpMode::jmNone);
            label.SetTransparent(false);
            label.SetColor(Qt::white);
            label.resize(80, 20);
            return label.grab().toImage();
        };
        QCOMPARE(picture("a&&b", true), picture("a&b", false));
        QVERIFY(picture("a&b", true) != picture("a&b", false));
    }

    // The default opener, with a stand-in xdg-open on PATH.
    void xdgOpenGetsTheTargetUnchanged() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString out = dir.filePath("args");
        WriteScript(dir.filePath("xdg-open"),
                    "printf '%s|%s' \"$#\" \"$1\" > '" + out.toLocal8Bit() + ".part'\n" + "mv '" +
                        out.toLocal8Bit() + ".part' '" + out.toLocal8Bit() + "'\nexit 0\n");
        PathPrefix path(dir.path());
        loadOpener = std::make_shared<travoli::XdgLinkOpener>();

        TSimpleLabel label;
        Load(label, "http://home.example/ ", "http://home.example/ ", TJumpMode::jmInternet);
        label.FollowLink();
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(out), 5000);
        QFile file(out);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("1|http://home.example/ "));
        QTest::qWait(200);  // let the exit be reported
        QVERIFY(label.isEnabled());
        QCOMPARE(label.JumpMode(), TJumpMode::jmInternet);
    }

    void xdgOpenFailingDisablesTheLabel() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        WriteScript(dir.filePath("xdg-open"), "exit 4\n");
        PathPrefix path(dir.path());
        loadOpener = std::make_shared<travoli::XdgLinkOpener>();

        TSimpleLabel label;
        Load(label, "vemLabel", "http://home.example/", TJumpMode::jmInternet);
        label.FollowLink();
        QVERIFY(label.isEnabled());  // the answer comes later; nothing waited for it
        QTRY_VERIFY_WITH_TIMEOUT(!label.isEnabled(), 5000);
        QCOMPARE(label.JumpMode(), TJumpMode::jmNone);
    }

    void xdgOpenMissingIsAFailure() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QByteArray saved = qgetenv("PATH");
        qputenv("PATH", dir.path().toLocal8Bit());
        int calls = 0;
        bool result = true;
        travoli::XdgLinkOpener opener;
        opener.Open("http://home.example/", [&](bool ok) {
            ++calls;
            result = ok;
        });
        QTRY_COMPARE_WITH_TIMEOUT(calls, 1, 5000);
        qputenv("PATH", saved);
        QVERIFY(!result);
        QTest::qWait(50);
        QCOMPARE(calls, 1);
    }

  private:
    std::shared_ptr<RecordingOpener> opener_;
};

QTEST_MAIN(SimpleLabelTest)
#include "simple_label_test.moc"
