// GLSingleton: the lifecycle every process-lifetime owner of GL objects shares (the post passes
// and the scenes). The one instance is a function-local static. Its GL objects are made on the
// first get() and again after release(), which deletes them while the context still exists.
// Owner provides hasObjects(), createObjects() and deleteObjects(), and names this its friend.
#pragma once

template <typename Owner>
class GLSingleton
{
public:
	static Owner& get()
	{
		Owner& owner = instance();
		if (!owner.hasObjects())
		{
			// A failure part-way deletes what was made, so a later get() starts clean.
			try
			{
				owner.createObjects();
			}
			catch (...)
			{
				owner.deleteObjects();
				throw;
			}
		}
		return owner;
	}

	// Deletes the GL objects (nothing if none were made); the next get() creates them anew.
	static void release()
	{
		instance().deleteObjects();
	}

private:
	static Owner& instance()
	{
		static Owner owner;
		return owner;
	}
};
