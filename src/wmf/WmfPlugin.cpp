// The image-format plugin that makes QImageReader read metafiles. Built twice:
// static in piksor_wmf, registered by ImportWmfPlugin(), and as the module
// other Qt programs load from their imageformats folder. Qt pairs each MIME
// type of wmf.json with the key in the same place, hence "wmf" twice.
#include "wmf/WmfHandler.h"

#include <QImageIOPlugin>

class PiksorWmfPlugin : public QImageIOPlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QImageIOHandlerFactoryInterface_iid FILE "wmf.json")

public:
    Capabilities capabilities(QIODevice* device, const QByteArray& format) const override {
        if (format.toLower() == "wmf")
            return CanRead;
        if (!format.isEmpty() || !WmfHandler::canRead(device))
            return {};
        return CanRead;
    }

    QImageIOHandler* create(QIODevice* device, const QByteArray& format) const override {
        auto* handler = new WmfHandler;
        handler->setDevice(device);
        handler->setFormat(format.isEmpty() ? QByteArray("wmf") : format);
        return handler;
    }
};

#include "WmfPlugin.moc"
