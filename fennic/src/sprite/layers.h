// Layered sprite lists: a list of layers in ascending z-order, each layer the
// sprites of one z-order, newest first.
//
// A mode keeps three of them (display, control, update). Every sprite carries
// one handle per list: the node of its layer in the outer list and the node
// of its own element in the layer, so that it leaves a list without a search.
// Layers exist only while they hold a sprite, so inserting walks as many
// layers as there are z-orders in use, not as many sprites.
#pragma once

#include <zep2/list.h>
#include <zep2/refcount.h>

class Sprite;

using SpriteLayer = Zep::List<Zep::SmartPtr<Sprite>>;
using LayerList = Zep::List<Zep::SmartPtr<SpriteLayer>>;

// Which of a mode's layered lists a handle belongs to.
enum class SpriteList { kDisplay = 0, kControl = 1, kUpdate = 2 };
inline constexpr int kSpriteListCount = 3;

// Where a sprite sits in one layered list; both null while it is not there.
struct LayerHandle {
    Zep::ListNode<Zep::SmartPtr<SpriteLayer>>* pLayer = nullptr;
    Zep::ListNode<Zep::SmartPtr<Sprite>>* pElement = nullptr;

    bool isSet() const { return pElement != nullptr; }
};

// Puts the sprite at the front of the layer of its z-order (made when
// missing, before the first layer of higher z-order) and fills the handle.
void insertIntoLayers(LayerList& lLayers, const Zep::SmartPtr<Sprite>& pSprite, LayerHandle& handle);
// Takes the element out through the handle, deletes a layer left empty and
// clears the handle. The caller holds a reference to the sprite.
void removeFromLayers(LayerList& lLayers, LayerHandle& handle);
// Appends every sprite, layer by layer in layer order, each layer front first.
void appendLayerSprites(const LayerList& lLayers, SpriteLayer& lOut);
