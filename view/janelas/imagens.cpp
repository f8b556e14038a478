#include "view/janelas/imagens.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include "base/tevra_home.h"
#include "view/gl/malha.h"

using namespace tevra;

namespace imagens {

QString localizarTextura() {
    const QString aqui = QDir::current().absoluteFilePath(QString::fromLatin1(kTextura));
    if (QFileInfo::exists(aqui)) return aqui;
    const QString programa =
        QDir(QCoreApplication::applicationDirPath()).absoluteFilePath(QString::fromLatin1(kTextura));
    if (QFileInfo::exists(programa)) return programa;
    return aqui;
}

QString glifoEmbutido(const char* nome) { return QStringLiteral(":/tevra/imagens/") + QString::fromLatin1(nome); }

QString instalarGlifos() {
    const QString pasta = QString::fromStdString(tevra::home::imagens().string());
    QString falhas;
    for (const char* nome : {kGlifoPausa, kGlifoPlay}) {
        const QString destino = QDir(pasta).absoluteFilePath(QString::fromLatin1(nome));
        if (QFileInfo::exists(destino)) continue;
        if (!QDir().mkpath(pasta) || !QFile::copy(glifoEmbutido(nome), destino)) {
            falhas += (falhas.isEmpty() ? QString() : QStringLiteral(", ")) + destino;
            continue;
        }
        // Resource files are read-only; the copy in the user's folder need not be.
        QFile::setPermissions(destino, QFile::permissions(destino) | QFileDevice::WriteOwner);
    }
    return falhas;
}

QImage lerImagem(const QString& arquivo, QString& erro) {
    QImageReader leitor(arquivo);
    QImage img = leitor.read();
    if (img.isNull()) erro = leitor.errorString();
    return img;
}

QPixmap pixmapDoGlifo(const QImage& glifo) {
    QImage img = glifo.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < img.height(); ++y) {
        auto* linha = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x)
            if ((linha[x] & 0x00FFFFFFu) == 0x00FF00FFu) linha[x] = 0;
    }
    return QPixmap::fromImage(img);
}

std::vector<std::uint8_t> texelsDaImagem(const QImage& imagem) {
    const QImage img = imagem.convertToFormat(QImage::Format_RGB32);
    return montarTextura(img.width(), img.height(), [&img](int x, int y) {
        const QRgb p = reinterpret_cast<const QRgb*>(img.constScanLine(y))[x];
        return static_cast<std::uint32_t>(qRed(p)) | static_cast<std::uint32_t>(qGreen(p)) << 8 |
               static_cast<std::uint32_t>(qBlue(p)) << 16;
    });
}

}  // namespace imagens
