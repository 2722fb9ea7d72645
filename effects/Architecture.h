// Architecture: a tunnel of heavy stone slabs streaming past in the dark, and in front of them a
// cloud of 64 000 glowing points that bulges away from six moving attractors; the finale.
#pragma once

#include "BallField.h"
#include "Declaration.h"
#include "Effect.h"
#include "GLSingleton.h"
#include "Tunnel.h"

#include <memory>

class Architecture : public Effect, public GLSingleton<Architecture>
{
public:
	// get() gives the one instance with its GL objects made; release() deletes them (GLSingleton).

	static const Declaration declaration; // "Architecture": the slabs' track, then the points'

	// Draws with its own projection (50 degrees, always 16:9, so other outputs are squeezed) and
	// the view as the modelview matrix; the projection passed in is unused.
	// Besides the frame's promises, it leaves the point size 8, the blend function (ONE, ONE) and,
	// when the slabs were drawn, the rock textures bound on units 0 and 1.
	void render(unsigned int targetFramebuffer, double time, Tarn::Matrix4 view, Tarn::Matrix4 projection) override;

	// The slabs are drawn at the music time plus this.
	static constexpr double tunnelTimeOffset = 40.0;

private:
	Architecture();
	~Architecture();
	Architecture(const Architecture&) = delete;
	Architecture& operator=(const Architecture&) = delete;

	friend class GLSingleton<Architecture>;
	bool hasObjects() const { return tunnel != nullptr; }
	void createObjects();
	void deleteObjects();

	std::unique_ptr<Tunnel> tunnel;
	std::unique_ptr<BallField> balls;
};
