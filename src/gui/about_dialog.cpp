#include "gui/about_dialog.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "gui/app_icon.h"
#include "gui/qt_text.h"

namespace qw::gui {
using i18n::Str;

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
  setObjectName("TFAPropos");
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);

  auto* title = new QLabel("KTR QuillWick");
  title->setObjectName("StaticText1");
  title->setAlignment(Qt::AlignCenter);
  title->setFixedSize(297, 25);
  title->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  title->setAutoFillBackground(true);
  QPalette sky = title->palette();
  sky.setColor(QPalette::Window, QColor(0xA6, 0xCA, 0xF0));
  sky.setColor(QPalette::WindowText, Qt::black);
  title->setPalette(sky);
  QFont titleFont("Times New Roman");
  titleFont.setPixelSize(16);
  titleFont.setBold(true);
  title->setFont(titleFont);

  auto* icon = new QLabel;
  icon->setObjectName("IICon");
  icon->setFixedSize(33, 33);
  icon->setPixmap(applicationIcon().pixmap(33, 33));

  auto* version = new QLabel("Version : 1.3");
  version->setObjectName("Label1");
  QFont bold = version->font();
  bold.setBold(true);
  version->setFont(bold);

  link_ = new QLabel;
  QLabel* link = link_;
  link->setObjectName("Label4");
  colourLink();
  link->setTextFormat(Qt::RichText);
  link->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
  link->setCursor(Qt::PointingHandCursor);
  connect(link, &QLabel::linkActivated, this, [this](const QString& address) {
    if (open_) open_(address);
  });

  dataFolder_ = new QLabel;
  dataFolder_->setObjectName("LDataFolder");
  dataFolder_->setWordWrap(true);
  dataFolder_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  dataFolder_->hide();

  close_ = new QPushButton;
  close_->setObjectName("BOK");
  close_->setDefault(true);
  close_->setAutoDefault(true);
  connect(close_, &QPushButton::clicked, this, &QDialog::accept);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(9, 8, 9, 8);
  layout->setSpacing(4);
  layout->addWidget(title, 0, Qt::AlignHCenter);
  layout->addWidget(icon, 0, Qt::AlignHCenter);
  layout->addWidget(version, 0, Qt::AlignHCenter);
  layout->addWidget(link, 0, Qt::AlignHCenter);
  layout->addWidget(dataFolder_);
  layout->addWidget(close_, 0, Qt::AlignHCenter);
  setFixedWidth(315);
  setMinimumHeight(155);
}

void AboutDialog::setStrings(const i18n::StringTable& strings) {
  dataFolderPrefix_ = qs(strings[Str::sAboutDataFolderPrefix]);
  setWindowTitle(qs(strings[Str::sAboutTitle]));
  close_->setText(qs(strings[Str::sAboutClose]));
}

void AboutDialog::setPerUserDataFolder(const std::filesystem::path& folder) {
  dataFolder_->setVisible(!folder.empty());
  if (folder.empty()) return;
  const QString where = qs(folder);
  // The folder beside the program could not be written, so the cards live in the user's own.
  dataFolder_->setText(dataFolderPrefix_ + where);
}

void AboutDialog::colourLink() {
  // Blue, but a light one on a dark desktop, where plain blue can hardly be read.
  const bool dark = palette().color(QPalette::Window).lightness() < 128;
  link_->setText(QString("<a href=\"%1\" style=\"color: %2;\">%1</a>")
                     .arg(kProductPage, dark ? "#7fb2ff" : "blue"));
}

void AboutDialog::showEvent(QShowEvent* event) {
  // On the button, not the link: Enter closes the dialog instead of opening the web page.
  close_->setFocus();
  colourLink();
  QDialog::showEvent(event);
  // Centred on the screen, also when it is opened from the tray with the window hidden.
  if (const QScreen* screen = this->screen()) {
    QRect frame = frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
  }
}

}  // namespace qw::gui
