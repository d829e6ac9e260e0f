#include "sprite/layers.h"

#include "sprite/sprite.h"

void insertIntoLayers(LayerList& lLayers, const Zep::SmartPtr<Sprite>& pSprite, LayerHandle& handle) {
    const int nZ = pSprite->getZOrder();
    // The first layer whose z-order is not below nZ, or none.
    LayerList::Node* pStop = lLayers.getHead();
    while (pStop && pStop->data->getHead()->data->getZOrder() < nZ) pStop = pStop->next;
    LayerList::Node* pLayer = pStop;
    if (!pStop || pStop->data->getHead()->data->getZOrder() != nZ) {
        // Linked empty first, then given its layer: the node holds the only reference.
        pLayer = pStop ? lLayers.insertAfter(pStop->prev, nullptr) : lLayers.add(nullptr);
        pLayer->data = new SpriteLayer();
    }
    handle.pLayer = pLayer;
    handle.pElement = pLayer->data->addFirst(pSprite);
}

void removeFromLayers(LayerList& lLayers, LayerHandle& handle) {
    if (!handle.isSet()) return;
    const LayerHandle old = handle;
    handle = LayerHandle();
    SpriteLayer& layer = *old.pLayer->data;
    layer.removeNode(old.pElement);
    if (layer.isEmpty()) lLayers.removeNode(old.pLayer);
}

void appendLayerSprites(const LayerList& lLayers, SpriteLayer& lOut) {
    for (const Zep::SmartPtr<SpriteLayer>& pLayer : lLayers)
        for (const Zep::SmartPtr<Sprite>& pSprite : *pLayer) lOut.add(pSprite);
}
