// The embedded browser over Qt WebEngine.
#include "platform/WebEngineBrowser.h"

#include <unistd.h>

#include <cstdlib>

#include <QChildEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QEvent>
#include <QUuid>
#include <QVBoxLayout>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>
#include <QWebEngineView>

namespace {

// window.status keeps working as a property, and every assignment, repeats included,
// leaves as one console message. console.log is taken before any page script runs, so
// the page cannot silence the channel by replacing it. A click on a link aimed at
// "_blank" (any case) becomes a request to open it outside.
const char* const kHookScript = R"JS((function () {
  var statusPrefix = "%1", linkPrefix = "%2";
  var log = console.log.bind(console);
  var text = "";
  Object.defineProperty(window, "status", {
    configurable: false, enumerable: true,
    get: function () { return text; },
    set: function (value) { text = String(value); log(statusPrefix + text); }
  });
  document.addEventListener("click", function (e) {
    var n = e.target;
    while (n && n.nodeType === 1 && n.tagName.toLowerCase() !== "a") n = n.parentNode;
    if (!n || n.nodeType !== 1 || !n.href) return;
    if ((n.getAttribute("target") || "").toLowerCase() !== "_blank") return;
    e.preventDefault();
    log(linkPrefix + n.href);
  }, true);
})();
)JS";

bool isDrag(QEvent::Type type) {
  return type == QEvent::DragEnter || type == QEvent::DragMove || type == QEvent::Drop;
}

QUrl withoutFragment(QUrl url) {
  url.setFragment(QString());
  return url;
}

}  // namespace

WebEngineStartUp webEngineStartUp(bool headless, unsigned userId,
                                  const std::function<const char*(const char*)>& environment) {
  static const char* const noSandbox = "QTWEBENGINE_DISABLE_SANDBOX";
  WebEngineStartUp s;
  auto add = [&](const char* name, const char* value) {
    const char* given = environment(name);
    if (!given || !*given) s.Variables.emplace_back(name, value);
  };
  const char* given = environment(noSandbox);
  s.SandboxOffAsRoot = userId == 0 && (!given || !*given);
  if (headless) {
    add("QT_QPA_PLATFORM", "offscreen");
    add("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu");
  }
  if (headless || s.SandboxOffAsRoot) add(noSandbox, "1");
  return s;
}

WebEngineStartUp prepareWebEngine(bool headless) {
  // Root by either id: the sandbox cannot start for the one nor for the other.
  const unsigned userId = ::getuid() == 0 || ::geteuid() == 0 ? 0 : ::geteuid();
  WebEngineStartUp s = webEngineStartUp(headless, userId, [](const char* name) { return std::getenv(name); });
  for (const auto& [name, value] : s.Variables) setenv(name.c_str(), value.c_str(), 1);
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  return s;
}

class TWebEnginePage : public QWebEnginePage {
public:
  TWebEnginePage(QWebEngineProfile* profile, TWebEngineBrowser* owner)
      : QWebEnginePage(profile, owner), owner_(owner) {}
  QUrl PageUrl;

protected:
  void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message, int,
                                const QString&) override {
    if (level == InfoMessageLevel) owner_->PageMessage(message);
  }
  bool acceptNavigationRequest(const QUrl& url, NavigationType, bool isMainFrame) override {
    // The page the host loaded, or a reload of it; nothing else.
    return isMainFrame && !PageUrl.isEmpty() && withoutFragment(url) == withoutFragment(PageUrl);
  }
  QWebEnginePage* createWindow(WebWindowType) override { return nullptr; }

private:
  TWebEngineBrowser* owner_;
};

TWebEngineBrowser::TWebEngineBrowser(QWidget* parent) : TWebBrowser(parent) {
  statusPrefix_ = "\x01status-" + QUuid::createUuid().toString(QUuid::WithoutBraces) + ":";
  linkPrefix_ = "\x01link-" + QUuid::createUuid().toString(QUuid::WithoutBraces) + ":";
  OpenExternal = [](const QUrl& url) { QDesktopServices::openUrl(url); };

  // Off the record: the program leaves no browser cache or cookies behind.
  auto* profile = new QWebEngineProfile(this);
  page_ = new TWebEnginePage(profile, this);
  QWebEngineSettings* s = page_->settings();
  s->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, true);  // the tiles
  s->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, true);    // the script
  s->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
  s->setAttribute(QWebEngineSettings::PluginsEnabled, false);
  s->setAttribute(QWebEngineSettings::FocusOnNavigationEnabled, false);
  InstallScripts();

  view_ = new QWebEngineView(this);
  view_->setPage(page_);
  view_->setAcceptDrops(false);
  view_->setContextMenuPolicy(Qt::NoContextMenu);
  view_->installEventFilter(this);
  for (QObject* child : view_->children()) child->installEventFilter(this);
  setFocusProxy(view_);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(view_);

  connect(view_, &QWebEngineView::loadProgress, this, [this](int p) { emit ProgressChange(p, 100); });
  connect(view_, &QWebEngineView::loadFinished, this, [this](bool) { emit DownloadComplete(); });
}

TWebEngineBrowser::~TWebEngineBrowser() {
  // The page goes before its profile.
  delete view_;
  delete page_;
}

void TWebEngineBrowser::Navigate(const QString& fileName) {
  page_->PageUrl = QUrl::fromLocalFile(fileName);
  page_->load(page_->PageUrl);
}

void TWebEngineBrowser::RunScript(const QString& statement) { page_->runJavaScript(statement); }

void TWebEngineBrowser::SetStartScript(const QString& source) {
  startScript_ = source;
  InstallScripts();
}

QImage TWebEngineBrowser::Snapshot() { return view_->grab().toImage(); }

void TWebEngineBrowser::InstallScripts() {
  QWebEngineScript script;
  script.setName("corvantel-status");
  script.setInjectionPoint(QWebEngineScript::DocumentCreation);
  script.setWorldId(QWebEngineScript::MainWorld);
  script.setRunsOnSubFrames(false);
  // The settings come after the hook, guarded: a faulty one must not cut the channel.
  QString source = QString::fromLatin1(kHookScript).arg(statusPrefix_, linkPrefix_);
  if (!startScript_.isEmpty()) source += "try {\n" + startScript_ + "\n} catch (e) {}\n";
  script.setSourceCode(source);
  page_->scripts().clear();
  page_->scripts().insert(script);
}

void TWebEngineBrowser::PageMessage(const QString& message) {
  if (message.startsWith(statusPrefix_)) {
    emit StatusTextChange(message.mid(statusPrefix_.size()));
  } else if (message.startsWith(linkPrefix_)) {
    const QUrl url(message.mid(linkPrefix_.size()));
    if (opensOutside(url) && OpenExternal) OpenExternal(url);
  }
}

bool TWebEngineBrowser::eventFilter(QObject* watched, QEvent* event) {
  // The view draws through a child widget created later: it gets the same filter.
  if (watched == view_ && event->type() == QEvent::ChildAdded)
    static_cast<QChildEvent*>(event)->child()->installEventFilter(this);
  if (isDrag(event->type())) {
    event->ignore();
    return true;
  }
  return TWebBrowser::eventFilter(watched, event);
}

bool opensOutside(const QUrl& url) {
  // The schemes the page makes links of; never a local file or a script.
  const QString scheme = url.scheme().toLower();
  return url.isValid() && (scheme == "http" || scheme == "https" || scheme == "ftp" || scheme == "mailto");
}

WebBrowserFactory& webBrowserFactory() {
  static WebBrowserFactory factory = [](QWidget* parent) -> TWebBrowser* {
    return new TWebEngineBrowser(parent);
  };
  return factory;
}
