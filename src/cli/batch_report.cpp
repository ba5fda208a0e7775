#include "cli/batch_report.h"

#include <QSaveFile>

namespace rbx14 {
QString CsvField(const QString& text) {
  if (!text.contains(u',') && !text.contains(u'"') && !text.contains(u'\n')) return text;
  return u'"' + QString(text).replace(QStringLiteral("\""), QStringLiteral("\"\"")) + u'"';
}

QString ResultWord(DeviceResult result) {
  switch (result) {
    case DeviceResult::Ok:
      return QStringLiteral("ok");
    case DeviceResult::Differences:
      return QStringLiteral("differences");
    case DeviceResult::NoAnswer:
      return QStringLiteral("no answer");
    case DeviceResult::Error:
      return QStringLiteral("error");
    case DeviceResult::Refused:
      return QStringLiteral("refused");
  }
  return {};
}

QByteArray ReportCsv(const std::vector<DeviceReport>& reports) {
  QString out = QStringLiteral(
      "address,device type,firmware version,result,differences,read-out ms,write ms\r\n");
  for (const DeviceReport& r : reports) {
    out += QStringList{QString::number(r.address),     CsvField(r.deviceType),
                       CsvField(r.firmware),           ResultWord(r.result),
                       QString::number(r.differences), QString::number(r.readOutMs),
                       QString::number(r.writeMs)}
               .join(u',') +
           QStringLiteral("\r\n");
  }
  return out.toUtf8();
}

bool WriteReport(const QString& path, const std::vector<DeviceReport>& reports) {
  return WriteWholeFile(path, ReportCsv(reports));
}

bool WriteWholeFile(const QString& path, const QByteArray& content) {
  // Unbuffered, so that a full disk shows in write() itself; a write that
  // fails part way cancels the file and the old one stays.
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return false;
  if (file.write(content) != content.size()) {
    file.cancelWriting();
    return false;
  }
  return file.commit();
}

}  // namespace rbx14
