// Sphurrs: 400 ray-cast spheres with screen-space occlusion and environment reflections over a
// sky box, laid out every frame as a pulsing random field or a spinning three-way tree.
#pragma once

#include "Declaration.h"
#include "Effect.h"
#include "GLSingleton.h"
#include "Sphurr.h"
#include "SphurrLayouts.h"

#include <tarn/List.h>
#include <tarn/Random.h>

#include <memory>

class RenderTarget;
class ShaderProgram;
class Program;
class CubeTexture;
class Texture;

class Sphurrs : public Effect, public GLSingleton<Sphurrs>
{
public:
	// get() gives the one instance with its GL objects made; release() deletes them (GLSingleton).

	static const Declaration declaration; // "Sphurrs": the layout's part, its pulse and inflation

	// The first track picks the layout (0 field, 1 tree, anything else keeps last frame's); the
	// pulse is read for the field only.
	void render(unsigned int targetFramebuffer, double time, Tarn::Matrix4 view, Tarn::Matrix4 projection) override;

	// release() leaves the sphere records as they are; only the GL objects go.

	int getTreeCount() const { return treeCount; }

	static constexpr int sphereCount = 400;
	static constexpr int targetWidth = 1280;
	static constexpr int targetHeight = 720;

private:
	Sphurrs();
	~Sphurrs();
	Sphurrs(const Sphurrs&) = delete;
	Sphurrs& operator=(const Sphurrs&) = delete;

	friend class GLSingleton<Sphurrs>;
	bool hasObjects() const { return sphereProgram != nullptr; }
	void createObjects();
	void deleteObjects();
	void drawGeometry(const Tarn::Matrix4& view, const Tarn::Matrix4& projection, const Tarn::Matrix4& viewInverse, const Tarn::Vector3& eye);
	void drawOcclusion(const Tarn::Matrix4& view, const Tarn::Matrix4& projection, const Tarn::Vector3& eye);
	void drawSky(unsigned int targetFramebuffer, const Tarn::Matrix4& view, const Tarn::Matrix4& projection);
	void compose();
	void drawSpheres(const Program& program);

	// Exactly sphereCount records, appended once; every frame overwrites them in place, so the
	// layouts never allocate.
	Tarn::List<Sphurr> spheres;

	std::unique_ptr<RenderTarget> geometryTarget;  // world position, normal, reflected eye vector
	std::unique_ptr<RenderTarget> occlusionTarget; // the accumulated occlusion term
	std::unique_ptr<ShaderProgram> sphereProgram;
	std::unique_ptr<ShaderProgram> occlusionProgram;
	std::unique_ptr<ShaderProgram> mixProgram;
	std::unique_ptr<ShaderProgram> skyProgram;
	std::unique_ptr<CubeTexture> environment;
	std::unique_ptr<Texture> skyTexture;

	int treeCount = 0;
	Tarn::RandomState random = { 1, 2 }; // reseeded before every layout run
};
