// The Check tab.
#include "app/check_panel.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>

namespace app {

QString FindingText(const session::Finding& finding, const i18n::UiTexts& texts) {
  // The screens as the editor's buttons number them, from 1.
  const std::vector<std::string> formatted = session::MessageArgs(finding, 1);
  const std::vector<std::string_view> args(formatted.begin(), formatted.end());
  return QString::fromStdString(
      i18n::FormatText(texts.Text(finding.message_key), std::span<const std::string_view>(args)));
}

CheckPanel::CheckPanel(const i18n::UiTexts& texts, Events events, QWidget* parent)
    : QWidget(parent), texts_(texts), events_(std::move(events)) {
  setObjectName("CheckPanel");
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  list_ = new QListWidget(this);
  list_->setWordWrap(true);
  list_->setTextElideMode(Qt::ElideNone);
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  list_->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
  layout->addWidget(list_, 1);
  empty_ = new QLabel(QString::fromStdString(texts.Text("LANG_CHECK_NONE$")), this);
  empty_->setAlignment(Qt::AlignCenter);
  empty_->setWordWrap(true);
  layout->addWidget(empty_, 1);
  fix_ = new QPushButton(this);
  fix_->setObjectName("CheckFix");
  layout->addWidget(fix_);
  // Not itemActivated: some styles activate on a single click, which would take the tab away.
  connect(list_, &QListWidget::currentRowChanged, this, [this](int row) {
    UpdateFix();
    Choose(row, false);
  });
  connect(list_, &QListWidget::itemClicked, this,
          [this](QListWidgetItem* item) { Choose(list_->row(item), false); });
  connect(list_, &QListWidget::itemDoubleClicked, this,
          [this](QListWidgetItem* item) { Choose(list_->row(item), true); });
  list_->installEventFilter(this);
  connect(fix_, &QPushButton::clicked, this, [this] {
    const int row = list_->currentRow();
    if (row < 0 || static_cast<std::size_t>(row) >= findings_.size() || !events_.fix) return;
    events_.fix(findings_[static_cast<std::size_t>(row)]);
    // The fix has the skin checked again; the finding now chosen is shown, ready for its own fix.
    Choose(list_->currentRow(), false);
  });
  ShowFindings({});
}

void CheckPanel::ShowFindings(std::vector<session::Finding> findings) {
  const int row = list_->currentRow();
  std::optional<session::Finding> chosen;
  if (row >= 0 && static_cast<std::size_t>(row) < findings_.size()) {
    chosen = findings_[static_cast<std::size_t>(row)];
  }
  findings_ = std::move(findings);
  const QIcon error = style()->standardIcon(QStyle::SP_MessageBoxCritical);
  const QIcon warning = style()->standardIcon(QStyle::SP_MessageBoxWarning);
  {
    const QSignalBlocker block(list_);
    list_->clear();
    for (const session::Finding& finding : findings_) {
      const bool is_error = finding.severity == session::Severity::kError;
      auto* item = new QListWidgetItem(is_error ? error : warning, FindingText(finding, texts_));
      item->setToolTip(QString::fromUtf8(session::SeverityName(finding.severity)) + " " +
                       QString::fromUtf8(session::CodeName(finding.code)));
      list_->addItem(item);
    }
    if (chosen && !findings_.empty()) {
      const auto found = std::find(findings_.begin(), findings_.end(), *chosen);
      list_->setCurrentRow(found != findings_.end()
                               ? static_cast<int>(found - findings_.begin())
                               : std::min(row, static_cast<int>(findings_.size()) - 1));
    }
  }
  list_->setVisible(!findings_.empty());
  empty_->setVisible(findings_.empty());
  UpdateFix();
}

void CheckPanel::UpdateFix() {
  const int row = list_->currentRow();
  std::string_view key;
  if (row >= 0 && static_cast<std::size_t>(row) < findings_.size()) {
    key = session::FixTextKey(findings_[static_cast<std::size_t>(row)].fix);
  }
  fix_->setVisible(!key.empty());
  if (!key.empty()) fix_->setText(QString::fromStdString(texts_.Text(key)));
}

void CheckPanel::Choose(int row, bool reveal) {
  if (row >= 0 && static_cast<std::size_t>(row) < findings_.size() && events_.chosen) {
    events_.chosen(findings_[static_cast<std::size_t>(row)], reveal);
  }
}

bool CheckPanel::eventFilter(QObject* watched, QEvent* event) {
  if (watched == list_ && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      Choose(list_->currentRow(), true);
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace app
