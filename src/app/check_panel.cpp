// The Check tab.
#include "app/check_panel.h"

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>

namespace app {

QString FindingText(const session::Finding& finding, const i18n::UiTexts& texts) {
  // The screens as the editor's buttons number them, from 1.
  const std::string from_zero = session::FormatScreens(finding.screens);
  const std::string from_one = session::FormatScreens(finding.screens, 1);
  std::vector<std::string_view> args;
  for (const std::string& arg : finding.message_args) {
    args.push_back(!from_zero.empty() && arg == from_zero ? std::string_view(from_one) : arg);
  }
  return QString::fromStdString(
      i18n::FormatText(texts.Text(finding.message_key), std::span<const std::string_view>(args)));
}

std::string_view FixTextKey(const session::Finding& finding) {
  if (finding.code == session::CheckCode::kLegibility && finding.colour) {
    return "LANG_CHECK_FIX_COLOUR$";
  }
  if (finding.code == session::CheckCode::kOutOfRange && finding.field) {
    return "LANG_CHECK_FIX_VALUE$";
  }
  if (finding.code == session::CheckCode::kPictureSize && finding.slot) {
    return "LANG_CHECK_FIX_SIZE$";
  }
  return {};
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
  connect(list_, &QListWidget::currentRowChanged, this, [this] { UpdateFix(); });
  const auto choose = [this](QListWidgetItem* item) {
    const int row = list_->row(item);
    if (row >= 0 && static_cast<std::size_t>(row) < findings_.size() && events_.chosen) {
      events_.chosen(findings_[static_cast<std::size_t>(row)]);
    }
  };
  connect(list_, &QListWidget::itemClicked, this, choose);
  connect(list_, &QListWidget::itemActivated, this, choose);
  connect(fix_, &QPushButton::clicked, this, [this] {
    const int row = list_->currentRow();
    if (row >= 0 && static_cast<std::size_t>(row) < findings_.size() && events_.fix) {
      events_.fix(findings_[static_cast<std::size_t>(row)]);
    }
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
    if (chosen) {
      const auto found = std::find(findings_.begin(), findings_.end(), *chosen);
      if (found != findings_.end()) list_->setCurrentRow(static_cast<int>(found - findings_.begin()));
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
    key = FixTextKey(findings_[static_cast<std::size_t>(row)]);
  }
  fix_->setVisible(!key.empty());
  if (!key.empty()) fix_->setText(QString::fromStdString(texts_.Text(key)));
}

}  // namespace app
